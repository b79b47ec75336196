#include "results/win_types.h"

#include "app/client.h"
#include "results/result_forms.h"

#include <stdexcept>

namespace results {
namespace {

constexpr int kWinTextType = 8;
constexpr int kPlainWin = 1;

// The text of a win type, without the fan figure; empty when the type names
// no win. Type 8 is the server's own text.
QString WinTypeText(int t)
{
    switch (t) {
    case 1: return QStringLiteral("   屁胡：   ");
    case 2: return QStringLiteral("   碰碰胡： ");
    case 3: return QStringLiteral("   清一色： ");
    case 4: return QStringLiteral("   风一色： ");
    case 5: return QStringLiteral("   将一色： ");
    case 6: return QStringLiteral("   清一色碰碰胡： ");
    case 7: return QStringLiteral("   风一色碰碰胡： ");
    case 9: return QStringLiteral("   将一色碰碰胡： ");
    case 17: return QStringLiteral("   杠开：   ");
    case 18: return QStringLiteral("   杠开碰碰胡： ");
    case 19: return QStringLiteral("   杠开清一色： ");
    case 20: return QStringLiteral("   杠开风一色： ");
    case 21: return QStringLiteral("   杠开将一色： ");
    case 22: return QStringLiteral("   杠开清一色碰碰胡：");
    case 23: return QStringLiteral("   杠开风一色碰碰胡：");
    case 25: return QStringLiteral("   杠开将一色碰碰胡：");
    case 33: return QStringLiteral("   海捞：   ");
    case 34: return QStringLiteral("   海捞碰碰胡：");
    case 35: return QStringLiteral("   海捞清一色：");
    case 36: return QStringLiteral("   海捞风一色：");
    case 37: return QStringLiteral("   海捞将一色：");
    case 38: return QStringLiteral("   海捞清一色碰碰胡：");
    case 39: return QStringLiteral("   海捞风一色碰碰胡：");
    case 41: return QStringLiteral("   海捞将一色碰碰胡：");
    case 49: return QStringLiteral("   全求人： ");
    case 50: return QStringLiteral("   全求人碰碰胡：");
    case 51: return QStringLiteral("   全求人清一色：");
    case 52: return QStringLiteral("   全求人风一色：");
    case 53: return QStringLiteral("   全求人将一色：");
    case 54: return QStringLiteral("   全求人清一色碰碰胡：");
    case 55: return QStringLiteral("   全求人风一色碰碰胡：");
    case 57: return QStringLiteral("   全求人将一色碰碰胡：");
    case 64: return QStringLiteral("   抢杠：");
    case 65: return QStringLiteral("   抢杠屁胡：");
    case 66: return QStringLiteral("   抢杠碰碰胡：");
    case 67: return QStringLiteral("   抢杠清一色：");
    case 68: return QStringLiteral("   抢杠风一色：");
    case 69: return QStringLiteral("   抢杠将一色：");
    case 70: return QStringLiteral("   抢杠清一色碰碰胡：");
    case 71: return QStringLiteral("   抢杠风一色碰碰胡：");
    case 73: return QStringLiteral("   抢杠将一色碰碰胡：");
    default: return QString();
    }
}

int Low(int16_t row) { return row & 0xFF; }

} // namespace

QStringList WinTypeLines(const WinTypeInput& in, int list, int seat)
{
    if (list < 0 || list > 3 || seat < 0 || seat > 3)
        throw std::out_of_range("score list or seat outside 0-3");
    const auto& rows = in.HandResult[static_cast<std::size_t>(seat)];
    QStringList lines;

    const int t = Low(rows[0]);
    if (t == kWinTextType) {
        lines << in.WinText << QString();
    } else if (const QString text = WinTypeText(t); !text.isEmpty()) {
        lines << text + QString::number(in.FanValues[static_cast<std::size_t>(list)]) << QString();
    }

    const auto countLine = [&lines](int n, const QString& text) {
        if (n > 0)
            lines << text + QString::number(n) + QStringLiteral(" 番");
    };
    const auto flagLine = [&lines](int n, const QString& text) {
        if (n > 0)
            lines << text;
    };
    countLine(Low(rows[1]) & 0x0F, QStringLiteral("   红中杠： "));
    countLine(Low(rows[1]) >> 4, QStringLiteral("   发财杠： "));
    countLine(Low(rows[2]), QStringLiteral("   赖子杠： "));
    countLine(Low(rows[3]), QStringLiteral("   明杠：   "));
    countLine(Low(rows[4]), QStringLiteral("   暗杠：   "));
    flagLine(Low(rows[5]), QStringLiteral("   硬胡：   1 番"));
    if (Low(rows[6]) > 0) {
        const bool plainWin = in.WinnerView >= 0 && in.WinnerView <= 3 &&
                              Low(in.HandResult[static_cast<std::size_t>(in.WinnerView)][0]) == kPlainWin;
        lines << (plainWin ? QStringLiteral("   点炮：   1 番") : QStringLiteral("   点炮"));
    }
    countLine(Low(rows[7]), QStringLiteral("   开口：   "));
    flagLine(Low(rows[8]), QStringLiteral("   包胡"));
    flagLine(Low(rows[9]), QStringLiteral("   庄家：   1 番"));
    flagLine(Low(rows[10]), QStringLiteral("   自摸：   1 番"));
    return lines;
}

void AddWinTypeLines(Client& c, int list, int seat)
{
    const WinTypeInput in{c.game.HandResult, c.results.FanValues, c.results.WinText, c.game.WinnerView};
    const QStringList lines = WinTypeLines(in, list, seat);
    platform::ListBox& box = *c.Score->State[static_cast<std::size_t>(list)];
    for (const QString& line : lines)
        box.AddItem(line);
}

} // namespace results
