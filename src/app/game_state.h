#pragma once

#include "core/user_info.h"
#include "protocol/frame.h"
#include "table/players.h"

#include <QString>
#include <array>
#include <cstdint>

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
    std::array<int16_t, 4> SeatFlags4{};
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

    // Speech pictures.
    int16_t SpeakShown = 0;
    int16_t SpeakIndex = 0;
    int16_t SpeakTicks = 0;

    // Shared flags of the table window.
    int16_t ChoiceState = 0;
    int16_t F1Minimized = 0;
    int16_t ZhahuShown = 0;
    int16_t HoverEnabled = 0;
    int16_t StartBlocked = 0;
    int16_t NextGameReady = 0;
    int16_t SeatDrawArmed = 0;
    std::array<int16_t, 9> AnNiuPressed{};
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
    int16_t DiceMultiplier = 0;
    QString WealthCaption; // the wealth label's caption at the hand's start

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

    // Concealed kongs of other seats, turned face up after a win.
    std::array<int16_t, 16> ConcealedKongImages{};
    std::array<int16_t, 16> ConcealedKongTiles{};
    std::array<uint8_t, 16> ConcealedKongViews{};
    uint8_t ConcealedKongCount = 0;

    // The snapshot of a running hand: the most wall images it uses, the
    // smallest tail figure, the image cursor (never reset), the discards of
    // each seat by view, and whether the table has been drawn from it.
    int16_t SideCountA = 0;
    int16_t SideCountB = 0;
    int16_t SideCountC = 0;
    std::array<int16_t, 4> SideSeatCounts{};
    int16_t TableSnapshotDone = 0;
};
