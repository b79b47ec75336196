#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

class Client;

namespace results {

// What the win-type lines of one seat are made of: the settlement rows and
// fan figures of the hand, by view.
struct WinTypeInput {
    const std::array<std::array<int16_t, 17>, 4>& HandResult;
    const std::array<int16_t, 4>& FanValues;
    const QString& WinText;
    int16_t WinnerView; // -1 when nobody won
};

// The lines that explain seat `seat`'s result in the score list of view
// `list`: the kind of win with the list's own fan figure and an empty line
// (nothing for a win type without a text), then one line per scoring count
// of the seat. Only the low byte of a row counts. A list or seat outside
// 0-3 throws std::out_of_range. With no winner, a seat that discarded the
// winning tile gets the bare "点炮" line.
QStringList WinTypeLines(const WinTypeInput& in, int list, int seat);

// Appends WinTypeLines(list, seat) of the hand to the score list State(list).
void AddWinTypeLines(Client& c, int list, int seat);

} // namespace results
