#include "core/numeric.h"

#include <QRegularExpression>
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

double LeadingNumber(const QString& text)
{
    static const QRegularExpression kNumber(QStringLiteral("^[ \\t]*([+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?)"));
    const QRegularExpressionMatch m = kNumber.match(text);
    return m.hasMatch() ? m.captured(1).toDouble() : 0.0;
}

} // namespace core
