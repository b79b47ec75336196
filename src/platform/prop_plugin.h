#pragma once

#include <array>
#include <cstdint>

namespace platform {

// The prop plug-in component, reached only through the methods the client
// calls on it. Every call is made only while PropPluginState is above 0; a
// method that fails throws.
class PropPlugin {
public:
    virtual ~PropPlugin() = default;

    // Hands over a received 272-byte frame.
    virtual void Rec_MSG(std::array<uint8_t, 272>& frame) = 0;
};

} // namespace platform
