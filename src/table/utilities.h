#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace platform {
class Clock;
}

namespace table {

// Waits the given seconds while letting window, socket and timer events run.
// Measured on the time of day, so a wait across midnight still ends on time.
void WaitSeconds(platform::Clock& clock, float seconds);

// Waits the given milliseconds on the millisecond clock while letting events
// run; safe across the clock's wrap.
void WaitMs(platform::Clock& clock, int16_t ms);

// A pause in the table's work of the given seconds, rounded to whole
// milliseconds. The thread is not blocked: painting and the socket go on
// while it lasts, and since it runs inside a scheduler tick (whose timer is
// off) no further frame is dispatched before it ends.
void SleepSeconds(platform::Clock& clock, float seconds);

// True when the text's first character takes one byte in GBK.
bool IsSingleByteChar(const QString& text);

// The lines WrapToList adds: each begins with one space and holds `width` or
// `width` + 1 byte columns (a double-byte character counts two), the last
// line fewer. Text after a NUL character is ignored.
QStringList WrapLines(const QString& text, int16_t width);

// Adds the wrapped lines of text to a list box (anything with AddItem).
template <typename ListBox>
void WrapToList(ListBox& list, const QString& text, int16_t width)
{
    for (const QString& line : WrapLines(text, width))
        list.AddItem(line);
}

// The text with spaces in front up to `width` characters; longer texts
// come back unchanged.
QString PadRight(const QString& text, int16_t width);

// The smallest seat wealth above 0, or 0 when none is.
int32_t MinSeatWealth(const std::array<int32_t, 4>& seatWealth);

} // namespace table
