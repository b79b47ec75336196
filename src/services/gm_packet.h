#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

namespace platform {
class UdpLink;
}

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

// The commands of the customer-service datagrams.
enum GmCommand : int16_t {
    GmMessage = 11, // client: a message from the player
    GmEcho = 22,    // service: the echo of a message
    GmFetch = 33,   // client: fetch the next waiting reply
    GmReply = 44,   // service: a reply
    GmAck = 55,     // client: acknowledge a reply
    GmQuery = 77,   // client: how many replies wait
    GmCount = 88,   // service: the number of waiting replies
};

// The service's port; the host is the client's choice.
constexpr int kGmServicePort = 4001;

// Field sizes of a message.
constexpr int kGmAccountBytes = 16;
constexpr int kGmNameBytes = 32;
constexpr int kGmCaptionBytes = 8;
constexpr int kGmTextBytes = 442;

// Writes the GBK bytes of the text into payload[start .. start + size - 1]:
// whole characters only, the rest of the field 0. Returns the bytes of text
// written. An empty text, a negative start or a size below 1 writes nothing.
int16_t PutGbkString(const QString& text, std::array<uint8_t, 500>& payload, int16_t start, int16_t size);

// The four requests. The account is the login account as GBK bytes: a
// single-byte character goes in as its byte, a double-byte one leaves 0.
GmPacket BuildGmMessage(const QByteArray& account, const QString& userName, const QString& caption, uint8_t check,
                        const QString& text);
GmPacket BuildGmFetch(const QByteArray& account);
GmPacket BuildGmQuery(const QByteArray& account);
GmPacket BuildGmAck(const std::array<uint8_t, 4>& replyId, const QByteArray& account);

// The bytes of a packet as they go on the wire: exactly Length bytes; empty
// for a packet that must not be sent (Length outside 12..512, Command 0 or
// negative).
QByteArray GmPacketBytes(const GmPacket& packet);

// Sends the packet as one datagram to host:port on the socket; a packet
// that must not be sent sends nothing. Socket failures are not reported.
void SendGmPacket(const GmPacket& packet, platform::UdpLink& socket, const QString& host, int port);

// Decodes a datagram. A datagram shorter than the header, without the
// magic or with a length field outside 12..512 gives the all-zero record.
// The length field is not compared with the datagram's size: payload bytes
// the datagram lacks stay 0.
GmPacket ParseGmPacket(const QByteArray& datagram);

// A received GBK text: bytes 0..last, at most 200 of them, up to the first
// 0 byte; a lead byte at `last` is dropped, a lead byte at 199 still takes
// its trail. Surrounding spaces are removed.
QString GbkBytesToString(const uint8_t* bytes, int last);

} // namespace services
