#pragma once

#include "protocol/frame.h"

#include <cstdint>
#include <cstdlib>
#include <new>
#include <memory>

class Client;

namespace core {

// Each game ring holds exactly 512 frames, so a frame written from index 0
// on never straddles the end of the ring.
constexpr int32_t kRingSize = 0x22000;
static_assert(kRingSize == 512 * protocol::kFrameSize);

// A fixed ring of bytes: empty when Write equals Read. Allocated once.
class ByteRing {
public:
    // Zeroed by calloc: a large ring then gets fresh zero pages from the
    // system instead of being cleared byte by byte at start-up.
    explicit ByteRing(int32_t size)
        : size_(size), bytes_(static_cast<uint8_t*>(std::calloc(static_cast<std::size_t>(size), 1)))
    {
        if (!bytes_)
            throw std::bad_alloc();
    }

    int32_t Size() const { return size_; }
    int32_t Waiting() const { return (Write + size_ - Read) % size_; }
    uint8_t* Data() { return bytes_.get(); }
    const uint8_t* Data() const { return bytes_.get(); }

    // Appends bytes one after the other; stops right after the byte that makes
    // the ring full (Write reaching Read), which is stored in a free cell.
    // Returns false when the ring became full.
    bool Append(const uint8_t* data, int64_t n);

    // Takes up to n waiting bytes.
    int32_t Take(uint8_t* out, int32_t n);

    int32_t Read = 0;
    int32_t Write = 0;

private:
    int32_t size_;
    struct Free {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<uint8_t[], Free> bytes_;
};

// A ring of whole frames: 0x22000 bytes, read and written by whole frames at
// multiples of 272 (the receive side is filled byte by byte, but read by
// whole frames only).
class FrameRing : public ByteRing {
public:
    FrameRing() : ByteRing(kRingSize) {}

    bool HasFrame() const { return Waiting() >= protocol::kFrameSize; }
    // At most 511 frames can wait: a 512th would make Write reach Read.
    bool FrameFull() const { return Waiting() >= kRingSize - protocol::kFrameSize; }

    // The frame slot at Write, for an encoder to fill in place before
    // CommitFrame. Only valid while !FrameFull().
    uint8_t* FrameSlot() { return Data() + Write; }
    void CommitFrame() { Write = (Write + protocol::kFrameSize) % kRingSize; }

    // The frame waiting at Read; valid while HasFrame().
    const uint8_t* FrontFrame() const { return Data() + Read; }
    void PopFrame() { Read = (Read + protocol::kFrameSize) % kRingSize; }
};

constexpr int32_t kProxyRingSize = 1024;

// Empties both game rings; their bytes are left to be overwritten.
void ResetRings(Client& c);

// The send ring's next free frame slot, for an encoder to fill in place and
// then CommitSendSlot. A ring that already holds 511 unsent frames refuses a
// new one (logged, nullptr) rather than overwrite queued frames.
uint8_t* ReserveSendSlot(Client& c, int kind);
// Queues the frame written into the reserved slot and switches the send task on.
void CommitSendSlot(Client& c);

// Queues one finished frame in the send ring and switches the send task on.
// Returns false when the ring was full and the frame refused.
bool QueueFrame(Client& c, const uint8_t* frame);

// Appends received game-stream bytes to the receive ring and switches the
// receive task on if it is off (a running task keeps its count); a ring that
// fills up restores the lobby window and ends the process. Returns false then.
bool RecvRingAppend(Client& c, const uint8_t* bytes, int64_t n);

// On a direct connection, moves as many of the socket's waiting bytes into
// the receive ring as fit and switches the receive task on if it is off.
// Bytes that do not fit stay in the socket until a frame has been taken.
void TakeSocketBytes(Client& c);

// Drops received bytes of a frame that was only partly received, so that
// the next connection's first frame lands on a frame boundary.
void DropPartialFrame(Client& c);

// The socket's data-arrival event: the waiting bytes go to the receive ring
// as far as they fit (TakeSocketBytes), or, while a SOCKS5 handshake runs,
// all of them to the proxy ring, whose filling up restores the lobby window
// and ends the process.
void Winsock1_DataArrival(Client& c);

// The peer closed the connection: close our side too. The connection watch
// notices the loss.
void Winsock1_Close(Client& c);

} // namespace core
