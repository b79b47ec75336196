#include "core/numeric.h"

#include <cmath>
#include <limits>

namespace core {

namespace {

template <typename Int>
Int RoundInto(double value, const char* what)
{
    // nearbyint rounds in the default mode: to nearest, halves to even.
    const double r = std::nearbyint(value);
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          r <= static_cast<double>(std::numeric_limits<Int>::max())))
        throw NumericFault(std::string(what) + " overflow");
    return static_cast<Int>(r);
}

} // namespace

int16_t CInt(double value) { return RoundInto<int16_t>(value, "16-bit"); }

int32_t CLng(double value) { return RoundInto<int32_t>(value, "32-bit"); }

int16_t Checked16(int64_t value)
{
    if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max())
        throw NumericFault("16-bit overflow");
    return static_cast<int16_t>(value);
}

int32_t IntDiv(int32_t dividend, int32_t divisor)
{
    if (divisor == 0)
        throw NumericFault("division by zero");
    if (divisor == -1 && dividend == std::numeric_limits<int32_t>::min())
        throw NumericFault("32-bit overflow");
    return dividend / divisor; // C++ truncates toward zero
}

// Scanned by hand: a regular expression here cost a millisecond at every
// start-up (compiling it).
double LeadingNumber(const QString& text)
{
    const qsizetype n = text.size();
    auto digit = [&](qsizetype i) { return i < n && text[i] >= u'0' && text[i] <= u'9'; };
    qsizetype i = 0;
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    // Digits with an optional point and more digits, or a point and digits.
    qsizetype mantissa = 0;
    while (digit(i)) {
        ++i;
        ++mantissa;
    }
    if (i < n && text[i] == u'.' && (mantissa > 0 || digit(i + 1))) {
        ++i;
        while (digit(i)) {
            ++i;
            ++mantissa;
        }
    }
    if (mantissa == 0)
        return 0.0;
    // An exponent counts only with at least one digit.
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        if (digit(j)) {
            while (digit(j))
                ++j;
            i = j;
        }
    }
    return text.mid(start, i - start).toDouble();
}

} // namespace core
