#pragma once

#include "match/match_info.h"
#include "match/match_instances.h"
#include "match/match_panel.h"
#include "match/match_results.h"
#include "protocol/frame.h"

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

class Client;

namespace match {

// One player's standing at the table in a match room.
struct MatchStandingEntry {
    QString username;
    int32_t match_score = 0;
    int32_t match_sort = 0;
};

struct MatchState {
    // Set when the player leaves: match-info downloads stop.
    int16_t AppClosing = 0;

    // The room's match mode and how the table shows it.
    int16_t RoomMatchMode = 0;
    int16_t MatchPanelMode = 0;  // price region of the goods catalogue (2: "pricenorth")
    double ReservedMoney = 200.0; // money a match sign-up keeps back

    // The match-info document as announced (kind 80) and its state.
    QString MatchInfoUrl;
    QString MatchInfoFile; // its plain file name in the match folder
    QString MatchInfoMd5;
    int16_t MatchDataReady = 0;       // the document is loaded
    int16_t MatchInfoLoaded = 0;      // the tables hold a loaded document
    int16_t MatchPanelReady = 0;      // the match list may be opened
    int16_t MatchInfoDownloading = 0; // a download runs
    int16_t MatchListReceived = 0;    // the instance states (kind 74) came
    int16_t MatchDetailDirty = 0;

    // Goods catalogue, room chip limits and match types of the document.
    MatchTables tables;

    // The match instances and the rows the list shows (entry 0 empty).
    std::vector<MatchInstance> MatchInstances = std::vector<MatchInstance>(1);
    std::vector<MatchInstance> MatchList = std::vector<MatchInstance>(1);

    // The state byte of the last start/end frame (kind 75) of a current
    // session; 1 holds an announced next session back until the end.
    int16_t LastStartEndState = 0;
    // The standings of the players at this table (kind 47).
    std::array<MatchStandingEntry, 4> MatchStandings{};

    // The match clock.
    int32_t AutoSignLead = 0;
    QStringList ShowMatchCaptions{QString()};
    uint32_t TimeRequestTick = 0; // an unanswered server-time request; 0 when none
    uint32_t ServerClock = 0;
    uint32_t ClockSyncTick = 0;
    uint32_t ClockStepTick = 0;
    uint32_t CaptionTick = 0;
    uint32_t SortRequestTick = 0;

    // The match panels' drag and busy state.
    MatchPanelState panel;

    // The ranking board (colours 0x00BBGGRR).
    uint32_t SortHeaderColor = 0;
    std::array<uint32_t, 4> SortPlaceColors{};
    int16_t SortRowHeight = 0;
    std::array<int16_t, 3> SortColumnWidths{};
    float SortLeft = 0;
    float SortTop = 0;
    // What DrawSortList printed on the ranking panel.
    PrintLayer SortPrint{QStringLiteral("SortPrint")};
};

// Stamps the echo token into bytes 260-261 of a finished match frame and
// queues it in the send ring (the third writer of the ring besides SendMsg
// and SendRawFrame).
void QueueMatchFrame(Client& c, protocol::GameFrame& frame);

// The sign-up (kind 72) and ranking request (kind 79) for a match instance,
// and the server-time request (kind 81), which notes when it was sent.
void SendMatchSign(Client& c, int32_t instanceId);
void SendSortRequest(Client& c, int32_t instanceId);
void SendMatchTimeRequest(Client& c);

// Empties the match, goods and list tables and forgets the announced
// document; the room's chip limits, price region and reserve stay.
void InitMatch(Client& c);

// The match mode of a match type: 1 when the tables know none.
int16_t GetMatchMode(Client& c, int32_t matchId);

// Arranges the score area of the table window for the room's match mode.
void ShowMainFormByMatchType(Client& c);

// A received kind-47 frame.
void MsgDecode_47(Client& c, const protocol::GameFrame& frame);

// A received match, goods, gold or notice frame (kinds 72-99).
void HandleMatchFrame(Client& c, const protocol::GameFrame& frame);

} // namespace match
