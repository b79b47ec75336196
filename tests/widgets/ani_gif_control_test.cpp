#include "widgets/ani_gif_control.h"

#include "platform/resources.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

using widgets::AniGifControl;

namespace {

constexpr int kStreakAnimation = 476; // twelve frames, looping for ever

QByteArray Animation() { return platform::LoadResData(kStreakAnimation, QStringLiteral("GIF")).value_or(QByteArray()); }

// Runs events until the control stops or `ms` have passed.
void RunUntilStopped(AniGifControl& ani, int ms)
{
    QDeadlineTimer deadline(ms);
    while (ani.Action() != 0 && !deadline.hasExpired()) {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

} // namespace

TEST(AniGifControl, OneLoopPlaysOnceAndStandsOnTheLastFrame)
{
    AniGifControl ani;
    ani.loops = 1;
    ani.LoadAnimatedGIF_Array(Animation());
    EXPECT_EQ(ani.Action(), 1);
    RunUntilStopped(ani, 5000);
    EXPECT_EQ(ani.Action(), 0);
    EXPECT_EQ(ani.LoopsPlayed(), 1);
    EXPECT_EQ(ani.CurrentFrame(), 11);
}

TEST(AniGifControl, NoLoopCountPlaysOnAndOn)
{
    AniGifControl ani;
    ani.loops = 0;
    ani.LoadAnimatedGIF_Array(Animation());
    RunUntilStopped(ani, 1500); // one loop takes about a second
    EXPECT_EQ(ani.Action(), 1);
    EXPECT_GE(ani.LoopsPlayed(), 1);
    ani.Stop();
    EXPECT_EQ(ani.Action(), 0);
}

TEST(AniGifControl, BytesThatAreNoPictureLeaveItStopped)
{
    AniGifControl ani;
    ani.loops = 1;
    ani.LoadAnimatedGIF_Array(QByteArray("GIF89a but nothing more"));
    EXPECT_EQ(ani.Action(), 0);
    EXPECT_EQ(ani.CurrentFrame(), -1);
    ani.LoadAnimatedGIF_Array(QByteArray());
    EXPECT_EQ(ani.Action(), 0);
}

TEST(AniGifControl, ALoadStartsAgainFromTheFirstFrame)
{
    AniGifControl ani;
    ani.loops = 1;
    ani.LoadAnimatedGIF_Array(Animation());
    RunUntilStopped(ani, 5000);
    ani.LoadAnimatedGIF_Array(Animation());
    EXPECT_EQ(ani.Action(), 1);
    EXPECT_EQ(ani.LoopsPlayed(), 0);
    RunUntilStopped(ani, 5000);
    EXPECT_EQ(ani.LoopsPlayed(), 1);
}
