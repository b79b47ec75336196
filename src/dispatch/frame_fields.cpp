#include "dispatch/frame_fields.h"

#include "app/client.h"
#include "dispatch/frame_fault.h"
#include "platform/gbk.h"
#include "table/tiles.h"

#include <cmath>

namespace dispatch {

uint32_t LittleEndian32(const protocol::GameFrame& f, int first)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | f[static_cast<std::size_t>(first + i)];
    return v;
}

uint64_t LittleEndian64(const protocol::GameFrame& f, int first)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | f[static_cast<std::size_t>(first + i)];
    return v;
}

int32_t NonNegative32(const protocol::GameFrame& f, int first, const char* what)
{
    const uint32_t v = LittleEndian32(f, first);
    if (v > 0x7FFFFFFFu)
        throw FrameFault(what);
    return static_cast<int32_t>(v);
}

double Amount64(const protocol::GameFrame& f, int first)
{
    const uint64_t v = LittleEndian64(f, first);
    if (f[static_cast<std::size_t>(first + 7)] > 0x80) {
        const uint64_t complement = ~v; // below 2^63, so the sum cannot overflow
        return -(static_cast<double>(complement) + 1.0);
    }
    return static_cast<double>(v);
}

QByteArray ByteChars(const protocol::GameFrame& f, int first, int last)
{
    QByteArray out;
    for (int i = first; i <= last && f[static_cast<std::size_t>(i)] != 0; ++i)
        out += static_cast<char>(f[static_cast<std::size_t>(i)]);
    return out;
}

QString GbkText(const protocol::GameFrame& f, int first, int end)
{
    QString out;
    int p = first;
    while (p < end && p < protocol::kFrameSize) {
        const uint8_t b = f[static_cast<std::size_t>(p)];
        if (b == 0)
            break;
        const int width = b < 0x80 ? 1 : 2;
        out += platform::gbk::Decode(f.data() + p, static_cast<std::size_t>(std::min(width, protocol::kFrameSize - p)));
        p += width;
    }
    return out;
}

int ViewOfSeat(const Client& c, int seatBit)
{
    if (!IsSeatBit(seatBit))
        throw FrameFault("seat bit names no seat");
    return table::SeatView(c.game.Players[0].SeatBit, static_cast<uint8_t>(seatBit));
}

QString Decimal(double value)
{
    if (std::isfinite(value) && value == std::trunc(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qlonglong>(value));
    return QString::number(value, 'g', 15);
}

} // namespace dispatch
