#include "service_desk.h"

#include "platform/gbk.h"
#include "services/gm_packet.h"

using services::GmPacket;

namespace servicehost {

namespace {

// A field of the payload up to its first 0 byte.
QByteArray Field(const GmPacket& p, int from, int size)
{
    QByteArray b(reinterpret_cast<const char*>(p.Payload.data()) + from, size);
    const qsizetype zero = b.indexOf('\0');
    return zero < 0 ? b : b.left(zero);
}

QByteArray Answer(int16_t command, uint8_t check, uint8_t flag, const QByteArray& payload)
{
    GmPacket p;
    p.Magic = GmPacket::kMagic;
    p.Command = command;
    p.Check = check;
    p.Flag = flag;
    const qsizetype n = std::min<qsizetype>(payload.size(), static_cast<qsizetype>(p.Payload.size()));
    std::copy_n(payload.constData(), n, reinterpret_cast<char*>(p.Payload.data()));
    p.Length = static_cast<int16_t>(GmPacket::kHeaderBytes + n);
    return services::GmPacketBytes(p);
}

QByteArray Little32(uint32_t v)
{
    QByteArray b;
    for (int i = 0; i < 4; ++i)
        b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
    return b;
}

// A GBK text cut to what the client reads of it (200 bytes), and a 0 byte.
QByteArray Text(const QString& text)
{
    QByteArray b = platform::gbk::Encode(text);
    if (b.size() > 190)
        b = platform::gbk::Encode(text.left(90));
    return b + QByteArray(1, '\0');
}

QString Shown(const QByteArray& account) { return QString::fromLatin1(account); }

} // namespace

ServiceDesk::ServiceDesk(QString welcome) : welcome_(std::move(welcome)) {}

QString ServiceDesk::EchoText() { return QStringLiteral("客服中心已收到您的"); }

QString ServiceDesk::ReplyTo(const QString& message)
{
    QString quoted = message.simplified();
    if (quoted.size() > 20)
        quoted = quoted.left(20) + QStringLiteral("…");
    return QStringLiteral("您好，您的留言“%1”我们已记下，会尽快处理。").arg(quoted);
}

QList<ServiceDesk::Reply>& ServiceDesk::Queue(const QByteArray& account)
{
    auto it = waiting_.find(account);
    if (it == waiting_.end()) {
        it = waiting_.insert(account, {});
        if (!welcome_.isEmpty())
            it->append({nextId_++, welcome_});
    }
    return *it;
}

int ServiceDesk::Waiting(const QByteArray& account) const
{
    return static_cast<int>(waiting_.value(account).size());
}

QList<QByteArray> ServiceDesk::Handle(const QByteArray& datagram, QStringList& notes)
{
    const GmPacket p = services::ParseGmPacket(datagram);
    if (p.Magic != GmPacket::kMagic) {
        notes << QStringLiteral("dropped a datagram that is not ours");
        return {};
    }
    switch (p.Command) {
    case services::GmMessage: {
        const QByteArray account = Field(p, 0, 16);
        const QString name = platform::gbk::Decode(Field(p, 16, 32));
        const int textBytes = std::max(0, p.Length - 12 - 56);
        const QString text = platform::gbk::Decode(Field(p, 56, std::min(textBytes, services::kGmTextBytes)));
        Queue(account).append({nextId_++, ReplyTo(text)});
        notes << QStringLiteral("message from %1 (%2): %3").arg(Shown(account), name, text);
        return {Answer(services::GmEcho, p.Check, 1, Text(EchoText()))};
    }
    case services::GmFetch: {
        const QByteArray account = Field(p, 0, 16);
        QList<Reply>& queue = Queue(account);
        if (queue.isEmpty()) {
            notes << QStringLiteral("fetch from %1: nothing waiting").arg(Shown(account));
            return {};
        }
        const Reply& r = queue.first();
        notes << QStringLiteral("reply %1 to %2: %3").arg(r.id).arg(Shown(account), r.text);
        // Flag: 1 + the replies still waiting after this one.
        return {Answer(services::GmReply, 0, static_cast<uint8_t>(std::min<qsizetype>(queue.size(), 255)),
                       Little32(r.id) + Text(r.text))};
    }
    case services::GmAck: {
        const uint32_t id = static_cast<uint32_t>(p.Payload[0]) | static_cast<uint32_t>(p.Payload[1]) << 8 |
                            static_cast<uint32_t>(p.Payload[2]) << 16 | static_cast<uint32_t>(p.Payload[3]) << 24;
        const QByteArray account = Field(p, 4, 16);
        QList<Reply>& queue = Queue(account);
        queue.removeIf([id](const Reply& r) { return r.id == id; });
        notes << QStringLiteral("ack %1 from %2").arg(id).arg(Shown(account));
        return {};
    }
    case services::GmQuery: {
        const QByteArray account = Field(p, 0, 16);
        const int n = static_cast<int>(Queue(account).size());
        notes << QStringLiteral("query from %1: %2 waiting").arg(Shown(account)).arg(n);
        return {Answer(services::GmCount, 0, 0, Little32(static_cast<uint32_t>(n)))};
    }
    default:
        notes << QStringLiteral("ignored command %1").arg(p.Command);
        return {};
    }
}

} // namespace servicehost
