#pragma once

#include "core/user_info.h"
#include "platform/prop_plugin.h"
#include "protocol/frame.h"
#include "table/players.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <random>
#include <vector>

// A player record as the table reset leaves it: no tiles, the first hand
// slot at 4 and the next meld ending at slot 3 (own view) or 4.
inline table::PlayerRecord FreshPlayerRecord(int view)
{
    table::PlayerRecord p;
    p.HandFirst = 4;
    p.MeldEnd = view == 0 ? 3 : 4;
    return p;
}

// The game state every subsystem shares. Flags are 16-bit: -1 true, 0 false.
struct GameState {
    // By view; 0 is the local player. Fresh records from the start, so that
    // a first hand seated without a table reset still finds them in order.
    std::array<table::PlayerRecord, 4> Players{FreshPlayerRecord(0), FreshPlayerRecord(1), FreshPlayerRecord(2),
                                               FreshPlayerRecord(3)};
    std::array<core::UserInfo, 4> UserInfos{};    // by view
    std::array<int32_t, 4> SeatWealth{};          // by view
    bool WatchMode = false;
    // Spectating: the four buffered user-info frames, the dealer's seat bit
    // and the two header values of the table snapshot.
    std::array<protocol::GameFrame, 4> WatchFrames{};
    uint8_t DealerSeat = 0;
    std::array<int16_t, 2> RoundHeaderArgs{};
    float ScaleX = 1.0f;
    float ScaleY = 1.0f;

    // The hand in play.
    int16_t GamePhase = 0;
    int16_t InGame = 0;
    int16_t WinnerView = -1;
    int16_t ResultFrameCount = 0;
    int32_t WealthMultiplier = 0;

    // Results of the hand, by view.
    std::array<std::array<int16_t, 17>, 4> HandResult{}; // rows 0-15 settlement words, row 16 frames received
    std::array<int16_t, 4> FanValues{};
    std::array<int16_t, 4> SeatFlags4{};
    QString HandResultText;
    std::array<double, 4> HandAmounts{};
    std::array<double, 4> HandSubtotals{};
    std::array<int16_t, 4> CapClass{};

    // Tiles shown at the end of a hand and the special-kong rows.
    struct RevealedTile {
        int16_t Code = 0;
        int16_t Image = 0;
        int16_t Kind = 0;
    };
    std::array<std::array<RevealedTile, 18>, 4> RevealedTiles{}; // views 1-3 used
    std::array<std::array<int16_t, 12>, 4> LaidTileImages{};

    // Play settings and the session.
    int16_t AutoPlay = 0;
    int16_t CountdownStart = 8;
    int16_t RoundNo = 0;
    int16_t InputEnabled = 0;
    int16_t SeatedCount = 0;
    int16_t TableCleared = 0;
    int16_t HandStartedFlag = 0;
    int16_t AnNiuClicked = 0;
    int16_t LayoutInProgress = 0;
    int16_t GameRunning = 0;
    int16_t ChromeNormal = 0;
    int16_t WebNavError = 0;
    int16_t RoomMatchMode = 0;
    int16_t MatchPanelMode = 0;  // which match panel the table shows
    double ReservedMoney = 200.0; // money a match sign-up keeps back
    std::array<QString, 4> OtherSeatNames;

    // The decision and ready countdowns, and the local decision.
    int16_t Countdown = 0;
    int16_t CountdownKindFlag = 0;
    int16_t TurnPhase = 0;
    int16_t TimeoutLimit = 0;
    int16_t OpSent = 0;
    int16_t ChipRefreshDue = 0;
    int16_t PicAniRunning = 0;
    double DecisionSecondMark = 0;
    double ReadySecondMark = 0;

    // Speech pictures and chat.
    int16_t SpeakShown = 0;
    int16_t SpeakIndex = 0;
    int16_t SpeakTicks = 0;
    int16_t ChatAllowed = 0;
    int16_t BubblesAllowed = 0;
    int16_t DBQS_flag = 0;
    int16_t DBQS_Num = 0;
    uint32_t DBQ_click_time = 0;

    // Seat-change show.
    int16_t ShuffleShowOn = 0;
    int16_t ShuffleLabelOn = 0;
    int16_t ShuffleFlagA = 0;
    int16_t ShuffleStep = 0;
    std::array<QString, 4> ShuffleCaptions;
    QString GameAdFile;

    // Purchases, customer service and the prop plug-in.
    int32_t DeferredBuy = 0;
    int16_t DeferredBuyOn = 0;
    int16_t BuyDeferred = 0;
    QByteArray GmUserName;
    QByteArray GmAccount;
    int16_t PropPluginState = 0;
    int16_t PropAniOn = 0;
    std::array<int16_t, 4> PropAniTicks{};
    std::array<int16_t, 4> PropAniState{};

    // Shared flags of the table window.
    int16_t ChoiceState = 0;
    int16_t F1Minimized = 0;
    int16_t ZhahuShown = 0;
    int16_t HoverEnabled = 0;
    int16_t StartBlocked = 0;
    int16_t NextGameReady = 0;
    int16_t SeatDrawArmed = 0;
    std::array<int16_t, 9> AnNiuPressed{};
    std::array<int16_t, 9> AnNiuHoverShown{}; // 1 while a main button shows its hover picture
    int16_t TimeoutCount = 0;

    // Prop plug-in hand-end flags.
    int16_t PropResultDue = 0;
    int16_t PropRoundState = 0;
    int16_t DrawnHandPending = 0;
    int16_t PropRoundReset = 0;

    // Report of a cheater.
    int16_t ImpeachOffered = 0;
    int16_t ImpeachDone = 0;
    int16_t ImpeachSeat = -1;
    int16_t ImpeachAllowed = 0;
    double ImpeachFee = 0;

    // Seating and the hand's start.
    int16_t LeaveResetDue = 0;
    int16_t DiceMultiplier = 0;
    QString WealthCaption; // the wealth label's caption at the hand's start
    int16_t WildStreakCount = 0;
    std::array<double, 4> CumulativeAmounts{}; // by view, since the players were seated

    // The local player's decision in a hand: turn prompts, claims and the
    // decision countdown.
    std::array<int16_t, 5> OfferedOps{}; // per operation button: 2 offered, 0 not
    int16_t AllowedOps = 0;         // the mask of the last prompt that offered a kong

    // Tiles the table has shown this hand, by suit index 0-3 and rank 1-9.
    std::array<std::array<int16_t, 10>, 4> SeenTileCounts{};

    // The next wall tiles turned up with the hands, and their wall positions.
    std::array<int16_t, 5> ShownWallTiles{};
    std::array<int16_t, 5> ShownWallPos{};
    uint8_t ShownWallCount = 0;

    // The claim-choice layout of the local player's turn.
    std::array<int16_t, 16> ChoiceTileA{};
    std::array<int16_t, 16> ChoiceTileB{};
    std::array<int16_t, 16> ChoiceKind{};
    int16_t ChoiceCount = 0;
    int16_t ChoiceSel1 = 0;
    int16_t ChoiceSel2 = 1;

    // The hand's end.
    QString WinText;          // text of a special win
    int16_t CurrencyFlag = 0; // 1: amounts in coins, else gold bars
    struct SeatNamePic {
        QString Name;
        QString PicIndex; // avatar picture number 0-19, as text
    };
    std::array<SeatNamePic, 4> SeatNamePics; // by view
    int16_t ScorePending = 0;
    uint32_t HandEndTick = 0;
    int16_t PropHandEndDue = 0;
    std::array<QString, 4> PropSeatNames;
    std::array<double, 4> PropCoinDelta{};
    std::array<std::array<QString, 4>, 2> PropSeatEntries;

    // Voices, chat, customer service.
    std::array<QString, 4> SeatVoiceFolders; // by view
    int16_t WhisperSeat = 0;
    QString WhisperPrefix;
    int16_t GmServiceOn = 0;

    // The advertisement named by the login reply.
    QString GameAdName;

    // The two web panels of the table window: the page each was last sent
    // to, where it stands and whether it is shown. Only http and https
    // addresses get here.
    struct WebPanel {
        QString Address;
        float Left = 0, Top = 0, Width = 0, Height = 0;
        int16_t Shown = 0;
    };
    WebPanel WebBrowser1Panel;
    WebPanel WebBrowser2Panel;

    // Concealed kongs of other seats, turned face up after a win.
    std::array<int16_t, 16> ConcealedKongImages{};
    std::array<int16_t, 16> ConcealedKongTiles{};
    std::array<uint8_t, 16> ConcealedKongViews{};
    uint8_t ConcealedKongCount = 0;

    // The prop plug-in object while it exists.
    std::shared_ptr<platform::PropPlugin> PropPlugin;
    int16_t PropScoreInfoDue = 0;

    // The chat button blinks this many more steps (a line from another seat).
    int16_t ChatBlinkCount = 0;

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

    // The snapshot of a running hand: the most wall images it uses, the
    // smallest tail figure, the image cursor (never reset), the discards of
    // each seat by view, and whether the table has been drawn from it.
    int16_t SideCountA = 0;
    int16_t SideCountB = 0;
    int16_t SideCountC = 0;
    std::array<int16_t, 4> SideSeatCounts{};
    int16_t TableSnapshotDone = 0;
};
