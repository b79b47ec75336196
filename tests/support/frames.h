#pragma once

#include "core/frame.h"

#include <QByteArray>
#include <initializer_list>
#include <utility>

namespace testing_support {

// A frame as the server would send it: zero bytes with the given ones set.
inline core::GameFrame ServerFrame(int kind, std::initializer_list<std::pair<int, int>> bytes = {})
{
    core::GameFrame f{};
    f[core::frame_byte::Kind] = static_cast<uint8_t>(kind);
    for (auto [at, value] : bytes)
        f[static_cast<std::size_t>(at)] = static_cast<uint8_t>(value);
    return f;
}

inline QByteArray Bytes(const core::GameFrame& f)
{
    return QByteArray(reinterpret_cast<const char*>(f.data()), core::kFrameSize);
}

} // namespace testing_support
