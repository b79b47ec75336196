#pragma once

#include <cstdint>

namespace protocol {

// Frame kinds the server sends.
enum MsgKind : int16_t {
    MsgDeal = 1,
    MsgDiscard = 2,
    MsgSeatName = 3,
    MsgHandStart = 4,
    MsgDraw = 5,
    MsgTurnPrompt = 6,
    MsgOperation = 7,
    MsgSeatResult = 9,
    MsgAnimation = 13,
    MsgWildTile = 14,
    MsgWallReveal = 15,
    MsgTableStatus = 16,
    MsgSettlement = 17,
    MsgLoginReply = 18,
    MsgChat = 19,
    MsgUserInfo = 20,
    MsgUserLeft = 21,
    MsgServerNotice = 22,
    MsgPlayerReady = 23,
    MsgReconnectReply = 29,
    MsgSeatSnapshot = 40,
    MsgRoundSnapshot = 41,
    MsgPropPlugin = 44,      // for the prop plug-in
    MsgPropPluginStep = 45,  // for the prop plug-in; the plug-in sends this kind too
    MsgPropPluginScore = 46, // for the prop plug-in, with the score information due
    MsgMatch47 = 47,
    MsgImpeach = 66,
    MsgMatchSign = 72,        // reply to a sign-up
    MsgMatchSignOff = 73,     // a sign-up cancelled, or a message about one
    MsgMatchStates = 74,      // the sessions the player is signed up for
    MsgMatchStartEnd = 75,    // a session starts, ends or is closed
    MsgMatchSortSummary = 77, // the player's place and points in a running session
    MsgMatchResult = 78,      // the player's final place
    MsgMatchSort = 79,        // one page of a ranking
    MsgMatchInfoUrl = 80,     // address and MD5 of the match-info document
    MsgServerTime = 81,       // the server clock
    MsgMatchList = 82,        // the whole list of match instances
    MsgMatchUpdate = 83,      // the next session of an instance
    MsgMatchSignCount = 87,   // sign-up count and prize base of a session
    MsgMatchPrizeBase = 88,   // prize base of a session
    MsgMatchChampion = 89,    // a session ended with its champion
    MsgAutoSignLead = 90,     // lead time of the automatic sign-up
    MsgGoldChange = 91,       // the player's gold changed
    MsgSeatGoldChange = 92,   // another seat's gold changed
    MsgMarquee = 93,          // a scrolling notice
    MsgMyGoods = 85,          // the whole goods bag
    MsgGoodsChange = 86,      // one goods' new count
    MsgPrizeLists = 94,       // lottery winners
    MsgPrizeNotice = 95,      // the prize pool, the hand's prize, wealth and notices
};

// Kinds of the match range that carry nothing for this client.
constexpr bool IsIgnoredMatchKind(int kind) { return kind == 76 || kind == 84 || (kind >= 96 && kind <= 99); }

// Frame kinds the client sends.
enum CmdKind : int16_t {
    CmdDiscard = 2,
    CmdOperation = 7,
    CmdReady = 16,
    CmdLeaveTable = 16,
    CmdLogin = 18,
    CmdChat = 19,
    CmdKeepAlive = 24,
    CmdReconnect = 28,
    CmdPropPluginStep = 45,
    CmdMatchSign = 72,    // sign up for a match instance
    CmdSortRequest = 79,  // the ranking of a match instance
    CmdTimeRequest = 81,  // the server clock
    CmdGoods = 93,
    CmdPrizeLists = 94, // the lottery winners newer than an id
    CmdPrizePool = 95,  // asks for the prize pool
};

// The match, goods, gold and notice kinds.
constexpr int kFirstMatchKind = 72;
constexpr int kLastMatchKind = 99;
constexpr bool IsMatchKind(int kind) { return kind >= kFirstMatchKind && kind <= kLastMatchKind; }

// Sub-codes of the table status frame (data word 3).
enum TableStatusCode : int16_t {
    StatusGameOver = 0,
    StatusPlayersQuit = 1,
    StatusGameStarts = 2,
};

// Results of the login reply (data word 3).
enum LoginResult : int16_t {
    LoginAccepted = 1,
    LoginTableNotStarted = 2, // no free seat at this table
    LoginAccountRefused = 3,  // empty or already seated name
};

// The seat byte of a user-info frame that marks the receiver's own record.
constexpr uint8_t kOwnRecordSeat = 15;

} // namespace protocol
