#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

class Client;

namespace services {

// One customer-service datagram: a 12-byte little-endian header and up to
// 500 payload bytes.
struct GmPacket {
    static constexpr int16_t kMagic = 0x7FFF;
    static constexpr int kHeaderBytes = 12;
    static constexpr int kMaxBytes = 512;

    int16_t Magic = 0;
    int16_t Length = 0;
    int16_t Reserved = 0;
    int16_t Command = 0;
    uint8_t Byte8 = 0;
    uint8_t Byte9 = 0;
    uint8_t Check = 0;
    uint8_t Flag = 0;
    std::array<uint8_t, 500> Payload{};
};

// Decodes a datagram. A datagram shorter than the header, without the
// magic or with a length field outside 12..512 gives the all-zero record.
// The length field is not compared with the datagram's size: payload bytes
// the datagram lacks stay 0.
GmPacket ParseGmPacket(const QByteArray& datagram);

// What the client does with a received packet: kept with the customer-
// service state and shown in its window. Both come with the customer-service
// window; until then a packet is decoded and dropped.
void ApplyGmPacket(Client& c, const GmPacket& packet);
void ShowGmPacket(Client& c, const GmPacket& packet);

// A datagram arrived on the table window's UDP socket.
void WinsckUdp_DataArrival(Client& c, int64_t bytesTotal);

} // namespace services
