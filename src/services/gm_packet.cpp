#include "services/gm_packet.h"

#include "app/client.h"
#include "platform/udp_link.h"

#include <algorithm>

namespace services {

namespace {

int Word(const QByteArray& b, int at)
{
    return static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8;
}

// A 16-bit field is stored only when it fits a signed 16-bit value.
int16_t Field(int word) { return word <= 0x7FFF ? static_cast<int16_t>(word) : int16_t{0}; }

} // namespace

GmPacket ParseGmPacket(const QByteArray& b)
{
    GmPacket p;
    if (b.size() < GmPacket::kHeaderBytes || Word(b, 0) != GmPacket::kMagic)
        return p;
    const int length = Word(b, 2);
    if (length < GmPacket::kHeaderBytes || length > GmPacket::kMaxBytes)
        return p;
    p.Magic = GmPacket::kMagic;
    p.Length = static_cast<int16_t>(length);
    p.Reserved = Field(Word(b, 4));
    p.Command = Field(Word(b, 6));
    p.Byte8 = static_cast<uint8_t>(b[8]);
    p.Byte9 = static_cast<uint8_t>(b[9]);
    p.Check = static_cast<uint8_t>(b[10]);
    p.Flag = static_cast<uint8_t>(b[11]);
    const int available = std::min<int>(length, static_cast<int>(b.size()));
    for (int i = GmPacket::kHeaderBytes; i < available; ++i)
        p.Payload[static_cast<std::size_t>(i - GmPacket::kHeaderBytes)] = static_cast<uint8_t>(b[i]);
    return p;
}

void ApplyGmPacket(Client&, const GmPacket&) {}

void ShowGmPacket(Client&, const GmPacket&) {}

void WinsckUdp_DataArrival(Client& c, int64_t)
{
    // Every failure is passed over: a datagram that cannot be handled is
    // simply gone.
    try {
        const GmPacket packet = ParseGmPacket(c.plat.udp.GetData());
        ApplyGmPacket(c, packet);
        ShowGmPacket(c, packet);
    } catch (...) {
    }
}

} // namespace services
