#pragma once

#include "protocol/frame.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace core {

// What core asks of the subsystems above it (rewards, chat, match and the
// dispatcher). The composition root fills these in when it builds the
// client; core calls them and includes none of those subsystems' headers.
struct UpperHooks {
    // The 50 ms tick's steps of other subsystems, in the order they run: the
    // first list right after the tick's counters move on, the second at the
    // end of the tick.
    std::vector<std::function<void()>> TickStart;
    std::vector<std::function<void()>> TickEnd;

    // A frame read from the receive ring, for the dispatcher.
    std::function<void(const protocol::GameCmd&)> Dispatch;
    // A chat frame has just been read into the receive frame.
    std::function<void()> ChatFrameRead;

    // The steps of the start-up, the session reset and the table resets.
    std::function<void()> UnloadSpeakBoxes;
    std::function<void()> ClearTalkHistory;
    std::function<void()> HideTalkWindow;
    std::function<void(int16_t flag)> ExitPropPlugin;
    std::function<void()> InitChipPanel;
    std::function<void(bool force)> RefreshChipBox;
    std::function<void()> InitJadeTask;
    std::function<void()> HideJadeTask;
    std::function<void()> InitMatch;
    std::function<int16_t(int32_t matchId)> MatchModeOf;
    std::function<void()> ShowMainFormByMatchType;
};

} // namespace core
