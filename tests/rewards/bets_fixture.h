#pragma once

#include "support/mouse.h"
#include "match/match.h"
#include "rewards/bets.h"
#include "rewards/chip_panel.h"
#include "rewards/prize_lists.h"
#include "rewards/purchase.h"
#include "support/frame_builder.h"
#include "support/table_fixture.h"
#include "window/layout.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

namespace testing_support {

// A table window on screen with its betting strip laid out, a data folder of
// its own, the local player "alice" with 900 coins and a catalogue in which a
// cigarette costs 200.
struct BetTable : TableClient {
    QTemporaryDir data;
    rewards::BetsState& b = c.rewards.Bets;

    explicit BetTable(int32_t price = 200)
    {
        c.core.DataPath = data.path();
        c.game.Players[0].Name = "alice";
        c.game.UserInfos[0].Coins = 900;
        match::InitMatch(c);
        SetPrice(price);
        window::LayoutTableControls(c);
        window::LayoutPlayControls(c);
        rewards::InitChipPanel(c);
        f.move(40, 30);
        f.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
        TakeSent();
    }
    ~BetTable() { f.hide(); }

    void SetPrice(int32_t price)
    {
        match::GoodsItem cigarettes;
        cigarettes.id = 3;
        cigarettes.na = QStringLiteral("香烟");
        cigarettes.un = QStringLiteral("根");
        cigarettes.des = QStringLiteral("下注用的香烟");
        cigarettes.price = price;
        cigarettes.PicId = 567;
        c.match.tables.GoodsInfo.assign(1, match::GoodsItem{});
        c.match.tables.GoodsInfo.push_back(cigarettes);
    }

    // The whole bag (kind 85) through the receive ring.
    void GiveBag(std::initializer_list<std::pair<int, int32_t>> entries)
    {
        protocol::GameFrame frame = ServerFrame(85);
        frame[16] = static_cast<uint8_t>(entries.size());
        int at = 17;
        for (const auto& [id, count] : entries) {
            PutLE(frame, at, static_cast<uint64_t>(id), 2);
            PutLE(frame, at + 2, static_cast<uint32_t>(count), 4);
            at += 6;
        }
        Deliver(frame);
    }
    void ChangeGoods(int id, int32_t count)
    {
        protocol::GameFrame frame = ServerFrame(86);
        PutLE(frame, 16, static_cast<uint64_t>(id), 2);
        PutLE(frame, 18, static_cast<uint32_t>(count), 4);
        Deliver(frame);
    }

    // The goods commands (kind 93) sent since the last call: sub-code,
    // goods id and count.
    struct GoodsCmd {
        int sub;
        int32_t goods;
        int32_t count;
        bool operator==(const GoodsCmd&) const = default;
    };
    std::vector<GoodsCmd> SentGoods()
    {
        std::vector<GoodsCmd> out;
        for (const protocol::GameFrame& f : TakeSent())
            if (f[3] == 93)
                out.push_back({f[16], static_cast<int32_t>(qFromLittleEndian<quint32>(f.data() + 17)),
                               static_cast<int32_t>(qFromLittleEndian<quint32>(f.data() + 21))});
        return out;
    }

    // A real click on a graphic control of the surface it lies on.
    static void Click(const platform::GraphicControl& control) { ClickAt(control.Surface(), CentreOf(control)); }
    static void MoveOver(QWidget* surface, QPoint at) { testing_support::MoveOver(surface, at); }
    static void MoveOver(const platform::GraphicControl& control) { MoveOver(control.Surface(), CentreOf(control)); }
    // Types a text into a box key by key, over what it held.
    static void Type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End);
        for (qsizetype i = box->text().size(); i > 0; --i)
            QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    // Pastes a whole text over what the box held, as Ctrl+V does.
    static void Paste(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        box->insert(text);
    }
};

} // namespace testing_support
