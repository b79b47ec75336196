#pragma once

#include "support/fake_prop_plugin.h"

#include <stdexcept>
#include <vector>

namespace testing_support {

// A prop plug-in that records the kinds of the frames handed to it, and can
// be told to fail.
class RecordingPlugin : public FakePropPlugin {
public:
    void Rec_MSG(std::array<uint8_t, 272>& frame) override
    {
        if (fails)
            throw std::runtime_error("plug-in call failed");
        kinds.push_back(frame[3]);
        FakePropPlugin::Rec_MSG(frame);
    }
    std::vector<int> kinds;
    bool fails = false;
};

} // namespace testing_support
