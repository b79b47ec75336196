#pragma once

#include <QString>
#include <cstdint>
#include <stdexcept>

// The number conversions the game's procedures share: rounding that takes
// halves to the even neighbour, the leading number of a text, and integer
// division that truncates toward zero.
namespace core {

// A value that does not fit the integer it is converted to, or a division
// by zero: the caller's failure handling takes it.
class NumericFault : public std::range_error {
public:
    using std::range_error::range_error;
};

// Rounds to the nearest whole number, halves to the even neighbour, into
// 16 bits; a result outside -32768..32767 (or not a number) is a fault.
int16_t CInt(double value);
// The same into 32 bits.
int32_t CLng(double value);
// A whole number that must fit 16 bits; a fault otherwise.
int16_t Checked16(int64_t value);

// Integer division truncating toward zero; a zero divisor is a fault.
int32_t IntDiv(int32_t dividend, int32_t divisor);

// The leading number of a text (blanks skipped); 0 when there is none.
double LeadingNumber(const QString& text);

} // namespace core
