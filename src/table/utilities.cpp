#include "table/utilities.h"

#include "platform/clock.h"
#include "platform/gbk.h"
#include "platform/wait.h"

#include <algorithm>
#include <cmath>

namespace table {

void WaitSeconds(platform::Clock& clock, float seconds)
{
    platform::WaitUntil(clock, platform::Deadline::InSecondsOfDay(clock, seconds));
}

void WaitMs(platform::Clock& clock, int16_t ms)
{
    platform::WaitUntil(clock, platform::Deadline::InMs(clock, ms > 0 ? static_cast<uint32_t>(ms) : 0));
}

void SleepSeconds(platform::Clock& clock, float seconds)
{
    const double ms = std::nearbyint(static_cast<double>(seconds) * 1000.0);
    if (!(ms > 0))
        return;
    platform::WaitUntil(clock, platform::Deadline::InMs(clock, static_cast<uint32_t>(std::min(ms, 86400000.0))));
}

bool IsSingleByteChar(const QString& text) { return platform::gbk::IsSingleByte(text); }

QStringList WrapLines(const QString& text, int16_t width)
{
    QList<uint> chars = text.toUcs4();
    const auto nul = std::find(chars.begin(), chars.end(), 0u);
    chars.erase(nul, chars.end());

    QStringList lines;
    const int count = static_cast<int>(chars.size());
    int col = 0;
    int start = 0;
    for (int i = 0; i < count; ++i) {
        col += platform::gbk::EncodeChar(chars[i]).size() == 1 ? 1 : 2;
        if (i == count - 1 || col >= width) {
            lines << QStringLiteral(" ") + QString::fromUcs4(reinterpret_cast<const char32_t*>(chars.constData() + start), i - start + 1);
            start = i + 1;
            col = 0;
        }
    }
    return lines;
}

QString PadRight(const QString& text, int16_t width)
{
    if (text.size() >= width)
        return text;
    return QString(width - text.size(), QLatin1Char(' ')) + text;
}

int32_t MinSeatWealth(const std::array<int32_t, 4>& seatWealth)
{
    int32_t best = 0;
    for (int32_t w : seatWealth)
        if (w > 0 && (best == 0 || w < best))
            best = w;
    return best;
}

} // namespace table
