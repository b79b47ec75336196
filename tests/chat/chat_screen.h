#pragma once

// The chat fixture's table on screen, laid out, driven with real key and
// mouse events; the frames the client queued come out of its send ring.

#include "support/mouse.h"
#include "chat_fixture.h"

#include "chat/chat_box.h"
#include "chat/emoticon_picker.h"
#include "chat/huifu_form.h"
#include "results/result_forms.h"
#include "window/layout.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
#include <vector>

namespace chat_test {

struct ChatScreen : ChatTable {
    explicit ChatScreen(int own = 0, float scale = 1.0f) : ChatTable(own)
    {
        c.game.ScaleX = c.game.ScaleY = scale;
        window::LayoutTableControls(c);
        c.chat.ChatAllowed = -1;
        c.game.UserInfos[0].Coins = 5000;
        f.move(40, 30);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        QApplication::setActiveWindow(&f);
    }
    ~ChatScreen()
    {
        c.Talk->hide();
        c.huifu->hide();
        c.frmBiaoqing->hide();
        c.Information->hide();
        f.hide();
    }

    // Every frame queued since the last call.
    std::vector<GameFrame> Sent()
    {
        std::vector<GameFrame> out;
        core::FrameRing& ring = c.core.SendRing;
        while (ring.HasFrame()) {
            GameFrame frame;
            std::copy(ring.FrontFrame(), ring.FrontFrame() + protocol::kFrameSize, frame.begin());
            ring.PopFrame();
            out.push_back(frame);
        }
        return out;
    }
    // The one frame queued since the last look.
    GameFrame OnlySent()
    {
        const std::vector<GameFrame> frames = Sent();
        EXPECT_EQ(frames.size(), 1u);
        return frames.empty() ? GameFrame{} : frames.front();
    }

    void Type(const QString& text)
    {
        f.Chat->setFocus();
        QTest::keyClicks(f.Chat, text);
    }
    void Key(Qt::Key key, QWidget* w = nullptr) { QTest::keyClick(w ? w : f.Chat, key); }
    // A typed line: the box filled with the text (any script), then Enter.
    void Say(const QString& text)
    {
        f.Chat->setFocus();
        f.Chat->SetText(text);
        Key(Qt::Key_Return);
    }

    // A click on a graphic control of its surface.
    void Click(const platform::GraphicControl& control)
    {
        testing_support::ClickAt(control.Surface(), testing_support::CentreOf(control));
    }
    void Click(QWidget* w, QPoint at = QPoint(-1, -1))
    {
        testing_support::ClickAt(w, at.x() < 0 ? w->rect().center() : at);
    }
    void MoveTo(QWidget* surface, QPoint at) { testing_support::MoveOver(surface, at); }
    void MoveTo(const platform::GraphicControl& control)
    {
        testing_support::MoveOver(control.Surface(), testing_support::CentreOf(control));
    }
    // A double click on entry `row` of a list.
    void DoubleClickRow(platform::ListBox& list, int row)
    {
        const QPoint at = list.visualItemRect(list.item(row)).center();
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    }
    // A spot of the table where no control lies.
    QPoint Cloth() const
    {
        for (int y = 200; y < 600; y += 10)
            for (int x = 300; x < 800; x += 10)
                if (!f.pic1->ControlAt(static_cast<float>(x), static_cast<float>(y)) && !f.pic1->childAt(QPoint(x, y)))
                    return QPoint(x, y);
        return QPoint(-1, -1);
    }
};

// A frame's data word i, its text field decoded, its bytes 217-232.
inline int Word(const GameFrame& f, int i)
{
    return f[static_cast<std::size_t>(8 + 2 * i)] << 8 | f[static_cast<std::size_t>(9 + 2 * i)];
}
inline QString TextOf(const GameFrame& f) { return platform::gbk::Decode(f.data() + 16, 200); }
inline QByteArray NameBytes(const GameFrame& f)
{
    return QByteArray(reinterpret_cast<const char*>(f.data() + 217), 16);
}

} // namespace chat_test
