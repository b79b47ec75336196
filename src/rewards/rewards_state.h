#pragma once

#include "platform/prop_plugin.h"
#include "rewards/bets_state.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

namespace rewards {

// The rewards subsystem's own state: purchases, the prop plug-in, the
// treasure boxes and the reward animations. Flags are 16-bit: -1 true, 0 false.
struct RewardsState {
    // Purchases and the prop plug-in.
    int32_t DeferredBuy = 0;
    int16_t DeferredBuyOn = 0;
    int16_t BuyDeferred = 0;
    int16_t PropPluginState = 0;
    int16_t PropAniOn = 0;
    std::array<int16_t, 4> PropAniTicks{};
    std::array<int16_t, 4> PropAniState{};

    // The plug-in is reset when a player leaves a hand that has started.
    int16_t LeaveResetDue = 0;

    // The hand's end as the plug-in gets it.
    int16_t PropHandEndDue = 0;
    std::array<QString, 4> PropSeatNames;
    std::array<double, 4> PropCoinDelta{};
    std::array<std::array<QString, 4>, 2> PropSeatEntries;

    // The prop plug-in object while it exists.
    std::shared_ptr<platform::PropPlugin> PropPlugin;
    int16_t PropScoreInfoDue = 0;

    // The prop plug-in started successfully: the scheduler pumps it.
    int16_t PropPluginReady = 0;
    int16_t PropMenuOpen = 0; // the prop menu is open (a box was picked)
    // What the plug-in hands over per message (the arguments of GetSendBuff).
    platform::Picture PropSendPicture;
    QString PropSendText;
    QByteArray PropSendFrame;
    int16_t PropSendType = -1;
    std::vector<int32_t> PropNoticeParams;
    std::array<int32_t, 5> PropNoticeExtra{};
    // The prop notice on LbProp and its countdown on TimerProp.
    int16_t PropCaptionOn = 0;
    int16_t PropCaptionTicks = 0;
    int16_t PropCaptionLimit = 0;
    // Where the treasure boxes lie, as the plug-in gave it at its start.
    platform::PropPlugin::BaoInfo PropBaoInfo;
    // The treasure-box choice: a countdown in ticks and seconds, and the box
    // picked per view (-1 none).
    int16_t TreasureCountdownOn = 0;
    int16_t TreasureTickCount = 0;
    int16_t TreasureSecondsLeft = 0;
    std::array<int16_t, 4> TreasurePicks{-1, -1, -1, -1};
    std::minstd_rand PropRandom;

    // Reward animations the scheduler steps while their flag is set.
    int16_t MyPrizeRolling = 0;
    int16_t JadeRewardActive = 0;
    int16_t FinishPending = 0;
    int16_t PoolRolling = 0;

    // Bets, purchases, their panels and the prize lists.
    BetsState Bets;
};

} // namespace rewards
