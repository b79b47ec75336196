#pragma once

#include "protocol/frame.h"
#include "rng.h"

#include <cstdint>
#include <deque>
#include <vector>

namespace tableserver {

// The echo token of one seat. Every frame the server sends to the seat gets
// a fresh token in bytes 260-261; the client copies the token of each frame
// it takes and writes the one it holds into every frame it sends. A client
// frame is accepted when its token is one this seat was given: the client
// may still be working through frames sent earlier, so its token can lag
// behind the newest one. The channel also keeps the frames it stamped, so
// that a client coming back after a lost connection can be sent what it
// missed.
class EchoChannel {
public:
    explicit EchoChannel(uint64_t seed) : rng_(seed) {}

    // Gives `frame` the next token and keeps a copy of it. Returns the token.
    uint16_t Stamp(protocol::GameFrame& frame);

    // Whether `token` was given to this seat (within the kept history).
    bool Knows(uint16_t token) const;

    // The frames stamped after the one that carried `token`, oldest first.
    // Empty when the token is the newest one or unknown.
    std::vector<protocol::GameFrame> FramesAfter(uint16_t token) const;

    uint16_t Last() const { return history_.empty() ? 0 : history_.back().token; }

    // How many frames the channel remembers.
    static constexpr std::size_t kHistory = 2048;

private:
    struct Entry {
        uint16_t token;
        protocol::GameFrame frame;
    };
    Rng rng_;
    std::deque<Entry> history_;
};

} // namespace tableserver
