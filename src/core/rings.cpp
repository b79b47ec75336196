#include "core/rings.h"

#include "app/client.h"
#include "core/lobby.h"
#include "core/proxy.h"
#include "platform/process.h"
#include "platform/tcp_link.h"

#include <QtGlobal>
#include <algorithm>
#include <cstring>

namespace core {

bool ByteRing::Append(const uint8_t* data, int64_t n)
{
    while (n > 0) {
        // Room before the ring is full, counting the byte that fills it.
        const int32_t free = size_ - 1 - Waiting();
        const int32_t toEnd = size_ - Write;
        const int32_t chunk = static_cast<int32_t>(std::min<int64_t>({n, int64_t(free) + 1, int64_t(toEnd)}));
        std::memcpy(bytes_.get() + Write, data, static_cast<std::size_t>(chunk));
        Write = (Write + chunk) % size_;
        data += chunk;
        n -= chunk;
        if (Write == Read)
            return false;
    }
    return true;
}

int32_t ByteRing::Take(uint8_t* out, int32_t n)
{
    int32_t taken = 0;
    while (taken < n && Read != Write) {
        out[taken++] = bytes_[static_cast<std::size_t>(Read)];
        Read = (Read + 1) % size_;
    }
    return taken;
}

void ResetRings(Client& c)
{
    c.core.RecvRing.Read = c.core.RecvRing.Write = 0;
    c.core.SendRing.Read = c.core.SendRing.Write = 0;
}

uint8_t* ReserveSendSlot(Client& c, int kind)
{
    FrameRing& ring = c.core.SendRing;
    if (ring.FrameFull()) {
        qWarning("send ring full: frame of kind %d refused", kind);
        return nullptr;
    }
    return ring.FrameSlot();
}

void CommitSendSlot(Client& c)
{
    c.core.SendRing.CommitFrame();
    c.core.SchedSend.Start();
}

bool QueueFrame(Client& c, const uint8_t* frame)
{
    uint8_t* slot = ReserveSendSlot(c, frame[protocol::frame_byte::Kind]);
    if (!slot)
        return false;
    std::memcpy(slot, frame, protocol::kFrameSize);
    CommitSendSlot(c);
    return true;
}

namespace {

// An arrival never postpones a receive that is already due: a running task
// keeps its count, so frames are taken at the scheduler's pace however
// often bytes arrive.
void SwitchReceiveOn(Client& c)
{
    if (!c.core.SchedReceive.On)
        c.core.SchedReceive.Start();
}

} // namespace

bool RecvRingAppend(Client& c, const uint8_t* bytes, int64_t n)
{
    if (!c.core.RecvRing.Append(bytes, n)) {
        RestoreLobbyWindow(c);
        c.plat.process.endNow();
        return false;
    }
    SwitchReceiveOn(c);
    return true;
}

void TakeSocketBytes(Client& c)
{
    if (!c.core.DirectConnection)
        return;
    FrameRing& ring = c.core.RecvRing;
    // One cell stays free: a ring whose Write reached Read would read as empty.
    const int64_t room = ring.Size() - 1 - ring.Waiting();
    const int64_t n = std::min<int64_t>(c.plat.tcp.BytesAvailable(), room);
    if (n <= 0)
        return;
    const QByteArray bytes = c.plat.tcp.Read(n);
    ring.Append(reinterpret_cast<const uint8_t*>(bytes.constData()), bytes.size());
    SwitchReceiveOn(c);
}

void Winsock1_DataArrival(Client& c)
{
    if (c.core.DirectConnection) {
        TakeSocketBytes(c);
        return;
    }
    const QByteArray bytes = c.plat.tcp.GetData();
    const auto* p = reinterpret_cast<const uint8_t*>(bytes.constData());
    if (!c.core.ProxyRing.Append(p, bytes.size())) {
        RestoreLobbyWindow(c);
        c.plat.process.endNow();
        return;
    }
    ProxyReceive(c);
}

void DropPartialFrame(Client& c)
{
    FrameRing& r = c.core.RecvRing;
    const int32_t partial = r.Waiting() % protocol::kFrameSize;
    r.Write = (r.Write - partial + kRingSize) % kRingSize;
}

void Winsock1_Close(Client& c) { c.plat.tcp.Close(); }

} // namespace core
