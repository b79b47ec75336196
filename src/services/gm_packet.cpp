#include "services/gm_packet.h"

#include "platform/gbk.h"
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

void PutAccount(const QByteArray& account, std::array<uint8_t, 500>& payload, int start)
{
    // One byte per character: a double-byte character leaves a 0 byte.
    const QString text = platform::gbk::Decode(account);
    int pos = 0;
    for (const char32_t ch : text.toUcs4()) {
        if (pos == kGmAccountBytes)
            break;
        const QByteArray b = platform::gbk::EncodeChar(ch);
        payload[static_cast<std::size_t>(start + pos)] = b.size() == 1 ? static_cast<uint8_t>(b[0]) : uint8_t{0};
        ++pos;
    }
}

GmPacket Request(int16_t command, int16_t length)
{
    GmPacket p;
    p.Magic = GmPacket::kMagic;
    p.Command = command;
    p.Length = length;
    return p;
}

} // namespace

int16_t PutGbkString(const QString& text, std::array<uint8_t, 500>& payload, int16_t start, int16_t size)
{
    if (text.isEmpty() || start < 0 || size < 1)
        return 0;
    const int end = std::min<int>(start + size, static_cast<int>(payload.size()));
    int pos = start;
    for (const char32_t ch : text.toUcs4()) {
        if (pos >= end)
            break;
        const QByteArray b = platform::gbk::EncodeChar(ch);
        if (pos + b.size() > end)
            break;
        for (char byte : b)
            payload[static_cast<std::size_t>(pos++)] = static_cast<uint8_t>(byte);
    }
    for (int i = pos; i < end; ++i)
        payload[static_cast<std::size_t>(i)] = 0;
    return static_cast<int16_t>(pos - start);
}

GmPacket BuildGmMessage(const QByteArray& account, const QString& userName, const QString& caption, uint8_t check,
                        const QString& text)
{
    GmPacket p = Request(GmMessage, 0);
    p.Check = check;
    PutAccount(account, p.Payload, 0);
    PutGbkString(userName, p.Payload, 16, kGmNameBytes);
    PutGbkString(caption, p.Payload, 48, kGmCaptionBytes);
    const int16_t n = PutGbkString(text.left(444), p.Payload, 56, kGmTextBytes);
    // The text and one 0 byte after it.
    p.Length = static_cast<int16_t>(69 + n);
    return p;
}

GmPacket BuildGmFetch(const QByteArray& account)
{
    GmPacket p = Request(GmFetch, 28);
    PutAccount(account, p.Payload, 0);
    return p;
}

GmPacket BuildGmQuery(const QByteArray& account)
{
    GmPacket p = Request(GmQuery, 28);
    PutAccount(account, p.Payload, 0);
    return p;
}

GmPacket BuildGmAck(const std::array<uint8_t, 4>& replyId, const QByteArray& account)
{
    GmPacket p = Request(GmAck, 32);
    std::copy(replyId.begin(), replyId.end(), p.Payload.begin());
    PutAccount(account, p.Payload, 4);
    return p;
}

QByteArray GmPacketBytes(const GmPacket& p)
{
    if (p.Length < GmPacket::kHeaderBytes || p.Length > GmPacket::kMaxBytes || p.Command <= 0)
        return {};
    QByteArray b;
    b.reserve(p.Length);
    for (int16_t v : {p.Magic, p.Length, p.Reserved, p.Command}) {
        b.append(static_cast<char>(v & 0xFF));
        b.append(static_cast<char>((v >> 8) & 0xFF));
    }
    for (uint8_t v : {p.Byte8, p.Byte9, p.Check, p.Flag})
        b.append(static_cast<char>(v));
    b.append(reinterpret_cast<const char*>(p.Payload.data()), p.Length - GmPacket::kHeaderBytes);
    return b;
}

void SendGmPacket(const GmPacket& packet, platform::UdpLink& socket, const QString& host, int port)
{
    const QByteArray bytes = GmPacketBytes(packet);
    if (bytes.isEmpty())
        return;
    socket.SetRemote(host, port);
    socket.SendData(bytes);
}

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

QString GbkBytesToString(const uint8_t* bytes, int last)
{
    QByteArray taken;
    int i = 0;
    while (i <= last && i <= 199) {
        const uint8_t ch = bytes[i];
        if (ch == 0)
            break;
        if (ch < 0x80) {
            taken.append(static_cast<char>(ch));
            ++i;
        } else if (i == last) {
            ++i; // a lead byte at the very end
        } else {
            taken.append(static_cast<char>(ch)).append(static_cast<char>(bytes[i + 1]));
            i += 2;
        }
    }
    QString s = platform::gbk::Decode(taken);
    // Spaces only: a line break the service sent stays.
    qsizetype from = 0, to = s.size();
    while (from < to && s[from] == QLatin1Char(' '))
        ++from;
    while (to > from && s[to - 1] == QLatin1Char(' '))
        --to;
    return s.mid(from, to - from);
}

} // namespace services
