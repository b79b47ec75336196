#pragma once

// A client at the end of a hand, with the settlement stored as the
// dispatcher leaves it, for the tests of the score sheet and the archive.

#include "app/client.h"
#include "results/hand_archive.h"
#include "results/hand_score.h"
#include "results/result_forms.h"
#include "support/test_client.h"
#include "window/main_form.h"

#include <QStringList>
#include <QTemporaryDir>
#include <array>

namespace results_test {

inline const std::array<QString, 4> kNames = {QStringLiteral("爱丽丝"), QStringLiteral("鲍勃"),
                                              QStringLiteral("卡罗尔"), QStringLiteral("戴夫")};
inline const std::array<QString, 4> kTitles = {QStringLiteral("甲"), QStringLiteral("乙"), QStringLiteral("丙"),
                                               QStringLiteral("丁")};
inline const QString kSeparator = QStringLiteral("====================");
inline const QString kBlock = QStringLiteral("--------------------");

// Four seated players with 1000 coins and 50 points each, a base stake of 5
// in coins, hand 1, and a data folder of the test's own.
struct Sheet : testing_support::TestClient {
    QTemporaryDir dir;
    GameState& g = client.game;
    results::ResultsState& r = client.results;
    results::ScoreForm& score = *client.Score;

    Sheet()
    {
        client.core.DataPath = dir.path();
        g.InputEnabled = -1;
        g.RoundNo = 1;
        for (int v = 0; v < 4; ++v) {
            const auto sv = static_cast<std::size_t>(v);
            core::UserInfo& u = g.UserInfos[sv];
            u.Nickname = kNames[sv];
            u.Title = kTitles[sv];
            u.Coins = 1000;
            u.Points = 50;
            r.SeatNamePics[sv] = {kNames[sv], QString::number(v + 1)};
            g.HandResult[sv][11] = 5;
            g.HandResult[sv][13] = 1;
        }
    }

    // The hand's amounts, the same in the settlement and the seat results;
    // every subtotal is the amount's size.
    void Amounts(std::array<double, 4> amounts)
    {
        for (int v = 0; v < 4; ++v) {
            const auto sv = static_cast<std::size_t>(v);
            g.HandAmounts[sv] = amounts[sv];
            g.HandSubtotals[sv] = amounts[sv] < 0 ? -amounts[sv] : amounts[sv];
            g.Players[sv].HandAmount = static_cast<int32_t>(amounts[sv]);
        }
    }

    // A plain win (屁胡) of view 0 against three payers of 10, the winner the
    // banker and self-drawn, view 1 having discarded the winning tile.
    void PlainWin()
    {
        Amounts({30, -10, -10, -10});
        g.WinnerView = 0;
        g.HandResult[0][0] = 1;
        g.HandResult[0][9] = 1;
        g.HandResult[0][10] = 1;
        g.HandResult[1][6] = 1;
        r.FanValues = {8, -2, -3, -4};
        r.HandResultText = QStringLiteral("自摸");
        g.CapClass = {1, 0, 0, 0};
    }

    QStringList Lines(int list) const
    {
        QStringList out;
        const platform::ListBox& box = *score.State[static_cast<std::size_t>(list)];
        for (int k = 0; k < box.ListCount(); ++k)
            out << box.List(k);
        return out;
    }
};

} // namespace results_test
