#include "echo_channel.h"

#include "protocol.h"

namespace tableserver {

uint16_t EchoChannel::Stamp(protocol::GameFrame& frame)
{
    // Never 0 (the client's token before its first frame) and never the
    // previous token again, so the token changes on every frame.
    uint16_t token;
    do {
        token = static_cast<uint16_t>(rng_.Next() & 0xFFFF);
    } while (token == 0 || token == Last());
    proto::SetToken(frame, token);
    history_.push_back({token, frame});
    if (history_.size() > kHistory)
        history_.pop_front();
    return token;
}

bool EchoChannel::Knows(uint16_t token) const
{
    for (const Entry& e : history_)
        if (e.token == token)
            return true;
    return false;
}

std::vector<protocol::GameFrame> EchoChannel::FramesAfter(uint16_t token) const
{
    std::vector<protocol::GameFrame> out;
    for (auto it = history_.rbegin(); it != history_.rend(); ++it) {
        if (it->token == token) {
            for (auto fwd = it.base(); fwd != history_.end(); ++fwd)
                out.push_back(fwd->frame);
            return out;
        }
    }
    return out;
}

} // namespace tableserver
