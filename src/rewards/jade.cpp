#include "rewards/jade.h"

#include "app/client.h"
#include "core/numeric.h"
#include "platform/clock.h"
#include "widgets/sprite_sheet.h"
#include "window/main_form.h"

#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <algorithm>
#include <cmath>
#include <limits>

namespace rewards {

namespace {

constexpr int32_t kJadeAnimation = 803; // 4 x 4 frames
constexpr int32_t kJadeDigits = 804;    // 1 x 10 frames: digit k in frame k
constexpr int32_t kJadeFrame = 805;     // one frame
constexpr int kDigitWidth = 22;
constexpr int kDigitHeight = 29;
// Counts in jadetask.xml beyond this are taken as this.
constexpr int kMostJadeEntries = std::numeric_limits<int16_t>::max();

// Where a control of the jade display lies, in pixels of the table.
void Place(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(static_cast<int>(std::lround(left)), static_cast<int>(std::lround(top)),
                   static_cast<int>(std::lround(width)), static_cast<int>(std::lround(height)));
}

int32_t Int32Of(const QString& text)
{
    const double v = std::trunc(core::LeadingNumber(text));
    return static_cast<int32_t>(std::clamp(v, double(std::numeric_limits<int32_t>::min()),
                                           double(std::numeric_limits<int32_t>::max())));
}

int CountOf(const QDomElement& node)
{
    return std::clamp(Int32Of(node.attribute(QStringLiteral("n"))), 0, kMostJadeEntries);
}

// The value of a digit character; any other character counts 0.
int DigitOf(QChar ch) { return ch >= QLatin1Char('0') && ch <= QLatin1Char('9') ? ch.unicode() - '0' : 0; }

widgets::Apng* NewDigit(Client& c)
{
    auto* digit = new widgets::Apng(c.MainForm->pic1, QStringLiteral("APNG_JadeNum"));
    digit->LoadAnimation(kJadeDigits, 0, 0, 1, 10);
    digit->Pause();
    digit->hide();
    return digit;
}

void RemoveExtraDigits(RewardsState& r)
{
    while (r.APNG_JadeNum.size() > 1) {
        delete r.APNG_JadeNum.back();
        r.APNG_JadeNum.pop_back();
    }
}

} // namespace

void HideJadeTask(Client& c) { c.MainForm->Pic_Jadetask->hide(); }

bool LoadJadeTaskXml(Client& c)
{
    RewardsState& r = c.rewards;
    r.JadeLevels.assign(1, RewardsState::JadeLevel{});
    r.JadeTasks.assign(1, RewardsState::JadeTask{});
    QFile file(QDir(c.core.AppPath).filePath(QStringLiteral("jadetask.xml")));
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    QDomDocument doc;
    if (!doc.setContent(&file))
        return false;
    const QDomElement root = doc.documentElement();
    if (root.isNull())
        return false;

    if (const QDomElement rank = root.firstChildElement(QStringLiteral("rank")); !rank.isNull()) {
        const int n = CountOf(rank);
        r.JadeLevels.resize(static_cast<std::size_t>(n) + 1);
        for (int i = 1; i <= n; ++i) {
            const QDomElement lvl = rank.firstChildElement(QStringLiteral("lvl%1").arg(i));
            if (lvl.isNull())
                continue;
            RewardsState::JadeLevel& e = r.JadeLevels[static_cast<std::size_t>(i)];
            e.level = static_cast<uint8_t>(std::min(i, 255));
            e.color = Int32Of(lvl.attribute(QStringLiteral("color")));
            e.mutiple = static_cast<uint8_t>(std::clamp(Int32Of(lvl.attribute(QStringLiteral("mutiple"))), 0, 255));
        }
    }
    if (const QDomElement task = root.firstChildElement(QStringLiteral("task")); !task.isNull()) {
        const int n = CountOf(task);
        r.JadeTasks.resize(static_cast<std::size_t>(n) + 1);
        for (int i = 1; i <= n; ++i) {
            const QDomElement node = task.firstChildElement(QStringLiteral("task_%1").arg(i));
            if (node.isNull())
                continue;
            RewardsState::JadeTask& e = r.JadeTasks[static_cast<std::size_t>(i)];
            e.id = Int32Of(node.attribute(QStringLiteral("id")));
            e.des = node.attribute(QStringLiteral("des"));
            e.des2 = node.attribute(QStringLiteral("des2"));
            const QString prize = node.attribute(QStringLiteral("prize"));
            const QStringList items = prize.isEmpty() ? QStringList{} : prize.split(QLatin1Char(';'));
            for (const QString& item : items) {
                // An item without ":" is a kind with the amount 0.
                const QStringList parts = item.split(QLatin1Char(':'));
                e.prizeKinds.push_back(Int32Of(parts.value(0)));
                e.prizeAmounts.push_back(Int32Of(parts.value(1)));
            }
            e.prizeCount = static_cast<int16_t>(std::min<qsizetype>(items.size(), kMostJadeEntries));
        }
    }
    return true;
}

void InitJadeTask(Client& c)
{
    RewardsState& r = c.rewards;
    window::MainForm& f = *c.MainForm;
    const double sx = c.game.ScaleX;
    const double sy = c.game.ScaleY;
    r.JadeShowTick = 0;
    r.JadeRewardActive = 0;
    LoadJadeTaskXml(c);

    f.Pic_Jadetask->setGeometry(static_cast<int>(std::lround(680 * sx)), static_cast<int>(std::lround(88 * sy)), 200, 70);
    f.Pic_Jadetask->show();

    if (!r.APNG_Jadefinish) {
        r.APNG_Jadefinish = new widgets::Apng(f.pic1, QStringLiteral("APNG_Jadefinish"));
        r.APNG_JadeKuang = new widgets::Apng(f.pic1, QStringLiteral("APNG_JadeKuang"));
        r.APNG_JadeNum.push_back(NewDigit(c));
    }
    RemoveExtraDigits(r);

    const double finishLeft = 340 * sx;
    const double finishTop = 171 * sy;
    const double finishSize = 350 * sy;
    // The animation's large sheet is read when the display is first shown,
    // which keeps it out of the program's start.
    widgets::Apng& finish = *r.APNG_Jadefinish;
    finish.Pause();
    finish.hide();
    Place(&finish, finishLeft, finishTop, finishSize, finishSize);
    finish.raise();

    const double frameLeft = finishLeft - 30 * sx;
    const double frameTop = finishTop + finishSize - 50 * sx;
    widgets::Apng& frame = *r.APNG_JadeKuang;
    frame.LoadAnimation(kJadeFrame, 0, 0, 1, 1);
    frame.Pause();
    frame.hide();
    Place(&frame, frameLeft, frameTop, 418, 86);
    frame.lower();
    frame.Start(-1, 100);

    widgets::Apng& digit = *r.APNG_JadeNum.front();
    digit.Pause();
    digit.hide();
    Place(&digit, frameLeft + 134 * sx, frameTop + 30 * sx, kDigitWidth, kDigitHeight);
    digit.raise();

    HideJadeTask(c);
    c.results.ScorePending = 0;
    r.LotteryPending = 0;
    r.JadeShowing = 0;
}

void ShowJadeReward(Client& c)
{
    RewardsState& r = c.rewards;
    if (!r.APNG_Jadefinish)
        InitJadeTask(c);
    const double sx = c.game.ScaleX;
    widgets::Apng& finish = *r.APNG_Jadefinish;
    widgets::Apng& frame = *r.APNG_JadeKuang;
    if (finish.CountX() == 0)
        finish.LoadAnimation(kJadeAnimation, 0, 0, 4, 4);
    finish.Start(-1, 200);
    finish.show();
    finish.raise();
    frame.show();
    frame.raise();

    const QString& text = r.JadeRewardText;
    const auto L = static_cast<int>(text.size());
    RemoveExtraDigits(r);
    for (int j = 1; j < L; ++j)
        r.APNG_JadeNum.push_back(NewDigit(c));

    // The digits stand centred on the frame by their number.
    const auto xOf = [L](int j) {
        switch (L) {
        case 1: return 190;
        case 2: return 180 + 20 * j;
        case 3: return 170 + 20 * j;
        case 4: return 160 + 20 * j;
        default: return 140 + 16 * j;
        }
    };
    const double frameLeft = frame.x();
    const double frameTop = frame.y();
    for (int j = 0; j < static_cast<int>(r.APNG_JadeNum.size()); ++j) {
        widgets::Apng& digit = *r.APNG_JadeNum[static_cast<std::size_t>(j)];
        digit.Pause();
        digit.hide();
        Place(&digit, frameLeft + xOf(j) * sx, frameTop + 30 * sx, kDigitWidth, kDigitHeight);
    }
    for (int j = 0; j < L; ++j) {
        widgets::Apng& digit = *r.APNG_JadeNum[static_cast<std::size_t>(j)];
        digit.Pause(DigitOf(text.at(j)));
        digit.show();
        digit.raise();
    }
    r.JadeShowTick = c.plat.clock.timeGetTime();
    r.JadeRewardActive = -1;
    r.JadeShowing = -1;
}

void ExitPropPlugin(Client& c, int16_t flag)
{
    RewardsState& r = c.rewards;
    window::MainForm& f = *c.MainForm;
    if (r.PropPluginState < 1)
        return;
    if (r.PropPlugin)
        r.PropPlugin->InitExit(flag);
    r.PropPluginState = 0;
    r.PropPluginReady = 0;
    f.TimerProp->SetEnabled(false);
    r.TreasureCountdownOn = 0;
    r.PropTimerOn = 0;
    // A box flight under way finds its box gone and stops.
    ++r.PropRoundSerial;
    // The boxes made at run time go; the object stays for a later start.
    for (int i = 1; i < f.ImgProp.Count(); ++i)
        f.ImgProp.Unload(i);
    f.ImgProp[0].SetVisible(false);
    f.ImgProp[0].Enabled = false;
    f.LbProp.SetCaption(QString());
    f.LbProp.SetVisible(false);
}

} // namespace rewards
