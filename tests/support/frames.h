#pragma once

#include "protocol/frame.h"

#include <QByteArray>
#include <initializer_list>
#include <utility>

namespace testing_support {

// A frame as the server would send it: zero bytes with the given ones set.
inline protocol::GameFrame ServerFrame(int kind, std::initializer_list<std::pair<int, int>> bytes = {})
{
    protocol::GameFrame f{};
    f[protocol::frame_byte::Kind] = static_cast<uint8_t>(kind);
    for (auto [at, value] : bytes)
        f[static_cast<std::size_t>(at)] = static_cast<uint8_t>(value);
    return f;
}

inline QByteArray Bytes(const protocol::GameFrame& f)
{
    return QByteArray(reinterpret_cast<const char*>(f.data()), protocol::kFrameSize);
}

} // namespace testing_support
