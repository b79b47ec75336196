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

namespace widgets {
class Apng;
}

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

    // The prize pool on the betting strip and its digit-by-digit roll.
    double PrizePool = 0;
    uint32_t PoolRollTick = 0;
    uint8_t PoolRollDigit = 0; // from the right: 0 is the last digit
    uint8_t PoolRollStep = 0;  // 0..10
    // The local player's lottery prize of the last hand and its roll.
    double MyPrize = 0;
    uint32_t MyPrizeRollTick = 0;
    uint8_t MyPrizeRollDigit = 0;
    uint8_t MyPrizeRollState = 0; // 0, 1, 5, 10 or 11
    std::minstd_rand PrizeRandom;
    // The hand-end sequence: a lottery roll still to show, and the time of
    // the last step after the start button.
    int16_t LotteryPending = 0;
    uint32_t RewardStepTick = 0;

    // ---- The jade reward, the treasure-box round and the plug-in's hover ----
    // The jade display of a hand's reward: its animation, the frame under
    // the digits and the digit pictures (element 0 always there); children
    // of the table picture, made by InitJadeTask.
    widgets::Apng* APNG_Jadefinish = nullptr;
    widgets::Apng* APNG_JadeKuang = nullptr;
    std::vector<widgets::Apng*> APNG_JadeNum;
    QString JadeRewardText;   // the jade amount of the last hand, as received
    uint32_t JadeShowTick = 0; // when the jade display was shown
    int16_t JadeShowing = 0;   // the jade digits are on show
    // jadetask.xml: the levels and the tasks, entry 0 empty.
    struct JadeLevel {
        uint8_t level = 0;
        int32_t color = 0;
        uint8_t mutiple = 0;
    };
    struct JadeTask {
        int32_t id = 0;
        QString des;
        QString des2;
        std::vector<int32_t> prizeKinds;
        std::vector<int32_t> prizeAmounts;
        int16_t prizeCount = 0;
    };
    std::vector<JadeLevel> JadeLevels{JadeLevel{}};
    std::vector<JadeTask> JadeTasks{JadeTask{}};

    // The box round's result steps on TimerProp and the count-up of the coins.
    int16_t PropTimerOn = 0;
    int16_t PropTimerTicks = 0;
    int16_t PropTimerLimit = 0;
    std::array<QString, 4> TreasureSeatLabels;
    std::array<float, 4> TreasureCoinStep{};
    std::array<double, 4> TreasureCoinShown{};
    int16_t TreasureLabelWidth = 0;
    int16_t TreasureDigits = 0;
    // Counts every stop of the plug-in and every new hand's reset: a box
    // flight that finds it changed after a wait leaves the boxes alone.
    uint32_t PropRoundSerial = 0;
    // The video over the own seat: asked already (-1), shown (1).
    int16_t PropOneSelfShown = 0;
    int16_t PropOneSelfHover = 0;
    // Bets, purchases, their panels and the prize lists.
    BetsState Bets;
};

} // namespace rewards
