#include "protocol/echo_token.h"
#include "protocol/frame.h"
#include "protocol/kinds.h"
#include "protocol/operations.h"
#include "protocol/tile_code.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The wire's numbers as literals, once: every named constant is checked
// against this table.
struct Literal {
    const char* name;
    int named;
    int wire;
};

void PrintTo(const Literal& l, std::ostream* os) { *os << l.name; }

const Literal kWire[] = {
    // Frame kinds the server sends.
    {"MsgDeal", protocol::MsgDeal, 1},
    {"MsgDiscard", protocol::MsgDiscard, 2},
    {"MsgSeatName", protocol::MsgSeatName, 3},
    {"MsgHandStart", protocol::MsgHandStart, 4},
    {"MsgDraw", protocol::MsgDraw, 5},
    {"MsgTurnPrompt", protocol::MsgTurnPrompt, 6},
    {"MsgOperation", protocol::MsgOperation, 7},
    {"MsgSeatResult", protocol::MsgSeatResult, 9},
    {"MsgAnimation", protocol::MsgAnimation, 13},
    {"MsgWildTile", protocol::MsgWildTile, 14},
    {"MsgWallReveal", protocol::MsgWallReveal, 15},
    {"MsgTableStatus", protocol::MsgTableStatus, 16},
    {"MsgSettlement", protocol::MsgSettlement, 17},
    {"MsgLoginReply", protocol::MsgLoginReply, 18},
    {"MsgChat", protocol::MsgChat, 19},
    {"MsgUserInfo", protocol::MsgUserInfo, 20},
    {"MsgUserLeft", protocol::MsgUserLeft, 21},
    {"MsgServerNotice", protocol::MsgServerNotice, 22},
    {"MsgPlayerReady", protocol::MsgPlayerReady, 23},
    {"MsgReconnectReply", protocol::MsgReconnectReply, 29},
    {"MsgSeatSnapshot", protocol::MsgSeatSnapshot, 40},
    {"MsgRoundSnapshot", protocol::MsgRoundSnapshot, 41},
    {"MsgPropPlugin", protocol::MsgPropPlugin, 44},
    {"MsgPropPluginStep", protocol::MsgPropPluginStep, 45},
    {"MsgPropPluginScore", protocol::MsgPropPluginScore, 46},
    {"MsgMatch47", protocol::MsgMatch47, 47},
    {"MsgImpeach", protocol::MsgImpeach, 66},
    // Frame kinds the client sends.
    {"CmdDiscard", protocol::CmdDiscard, 2},
    {"CmdOperation", protocol::CmdOperation, 7},
    {"CmdReady", protocol::CmdReady, 16},
    {"CmdLeaveTable", protocol::CmdLeaveTable, 16},
    {"CmdLogin", protocol::CmdLogin, 18},
    {"CmdChat", protocol::CmdChat, 19},
    {"CmdKeepAlive", protocol::CmdKeepAlive, 24},
    {"CmdReconnect", protocol::CmdReconnect, 28},
    {"CmdPropPluginStep", protocol::CmdPropPluginStep, 45},
    {"CmdGoods", protocol::CmdGoods, 93},
    {"kFirstMatchKind", protocol::kFirstMatchKind, 72},
    {"kLastMatchKind", protocol::kLastMatchKind, 99},
    {"kFirstTokenlessKind", protocol::kFirstTokenlessKind, 71},
    {"kLastTokenlessKind", protocol::kLastTokenlessKind, 99},
    // Sub-codes and marks.
    {"StatusGameOver", protocol::StatusGameOver, 0},
    {"StatusPlayersQuit", protocol::StatusPlayersQuit, 1},
    {"StatusGameStarts", protocol::StatusGameStarts, 2},
    {"LoginAccepted", protocol::LoginAccepted, 1},
    {"LoginTableNotStarted", protocol::LoginTableNotStarted, 2},
    {"LoginAccountRefused", protocol::LoginAccountRefused, 3},
    {"kOwnRecordSeat", protocol::kOwnRecordSeat, 15},
    // Operation codes and the flags of the client's tile words.
    {"OpPass", protocol::OpPass, 1},
    {"OpChow", protocol::OpChow, 4},
    {"OpPong", protocol::OpPong, 8},
    {"OpExposedKong", protocol::OpExposedKong, 16},
    {"OpConcealedKong", protocol::OpConcealedKong, 32},
    {"OpSpecialKong", protocol::OpSpecialKong, 64},
    {"OpWin", protocol::OpWin, 128},
    {"OpFalseWin", protocol::OpFalseWin, 129},
    {"kTileCodeMask", protocol::kTileCodeMask, 0x0FFF},
    {"kClaimTileFlag", protocol::kClaimTileFlag, 0x2000},
    {"kDiscardTileFlag", protocol::kDiscardTileFlag, 0x4000},
    {"kSeatMask", protocol::kSeatMask, 0x0F},
    // Sizes and byte offsets.
    {"kFrameSize", protocol::kFrameSize, 272},
    {"kNameBytes", protocol::kNameBytes, 16},
    {"kChatTextMaxChars", protocol::kChatTextMaxChars, 100},
    {"frame_byte::KindHigh", protocol::frame_byte::KindHigh, 2},
    {"frame_byte::Kind", protocol::frame_byte::Kind, 3},
    {"frame_byte::B1", protocol::frame_byte::B1, 5},
    {"frame_byte::Seat", protocol::frame_byte::Seat, 6},
    {"frame_byte::B3", protocol::frame_byte::B3, 7},
    {"frame_byte::Data", protocol::frame_byte::Data, 8},
    {"frame_byte::Payload", protocol::frame_byte::Payload, 16},
    {"frame_byte::ChatText", protocol::frame_byte::ChatText, 16},
    {"frame_byte::ChatName", protocol::frame_byte::ChatName, 217},
    {"frame_byte::RelayLength", protocol::frame_byte::RelayLength, 236},
    {"frame_byte::EchoToken", protocol::frame_byte::EchoToken, 260},
    {"frame_byte::ReconnectId", protocol::frame_byte::ReconnectId, 268},
    {"login_byte::Marker", protocol::login_byte::Marker, 14},
    {"login_byte::Name", protocol::login_byte::Name, 16},
    {"login_byte::Key", protocol::login_byte::Key, 32},
    {"login_reply_byte::AdName", protocol::login_reply_byte::AdName, 16},
    {"user_info_byte::Nickname", protocol::user_info_byte::Nickname, 16},
    {"user_info_byte::Avatar", protocol::user_info_byte::Avatar, 48},
    {"user_info_byte::Sex", protocol::user_info_byte::Sex, 64},
    {"user_info_byte::CardText", protocol::user_info_byte::CardText, 72},
    {"user_info_byte::Points", protocol::user_info_byte::Points, 80},
    {"user_info_byte::MemberLevel", protocol::user_info_byte::MemberLevel, 88},
    {"user_info_byte::Coins", protocol::user_info_byte::Coins, 96},
    {"user_info_byte::Value104", protocol::user_info_byte::Value104, 104},
    {"user_info_byte::Level", protocol::user_info_byte::Level, 112},
    {"user_info_byte::Value128", protocol::user_info_byte::Value128, 128},
    {"user_info_byte::Value136", protocol::user_info_byte::Value136, 136},
    {"user_info_byte::RoomGrade", protocol::user_info_byte::RoomGrade, 144},
    {"user_info_byte::Count152", protocol::user_info_byte::Count152, 152},
    {"user_info_byte::Count156", protocol::user_info_byte::Count156, 156},
    {"user_info_byte::Count160", protocol::user_info_byte::Count160, 160},
    {"user_info_byte::Count164", protocol::user_info_byte::Count164, 164},
    {"user_info_byte::Account", protocol::user_info_byte::Account, 168},
    {"user_info_byte::Title", protocol::user_info_byte::Title, 184},
    {"user_info_byte::Ready", protocol::user_info_byte::Ready, 208},
    {"user_info_byte::VipLevel", protocol::user_info_byte::VipLevel, 209},
    {"user_info_byte::Voice1", protocol::user_info_byte::Voice1, 210},
    {"user_info_byte::Voice2", protocol::user_info_byte::Voice2, 218},
    {"user_info_byte::UserId", protocol::user_info_byte::UserId, 226},
    {"user_info_byte::Wealth", protocol::user_info_byte::Wealth, 234},
    {"user_info_byte::GmService", protocol::user_info_byte::GmService, 254},
    {"user_info_byte::NoPlugin", protocol::user_info_byte::NoPlugin, 255},
    {"deal_byte::Tiles", protocol::deal_byte::Tiles, 16},
    {"hand_start_byte::DiceMultiplier", protocol::hand_start_byte::DiceMultiplier, 18},
    {"hand_start_byte::ImpeachSeats", protocol::hand_start_byte::ImpeachSeats, 239},
    {"hand_start_byte::ImpeachFee", protocol::hand_start_byte::ImpeachFee, 247},
    {"hand_start_byte::ImpeachOn", protocol::hand_start_byte::ImpeachOn, 255},
    {"turn_prompt_byte::Countdown", protocol::turn_prompt_byte::Countdown, 100},
    {"wall_reveal_byte::WallTiles", protocol::wall_reveal_byte::WallTiles, 16},
    {"seat_result_byte::Amount", protocol::seat_result_byte::Amount, 16},
    {"seat_result_byte::Flag", protocol::seat_result_byte::Flag, 24},
    {"seat_result_byte::Text", protocol::seat_result_byte::Text, 36},
    {"settlement_byte::AmountSign", protocol::settlement_byte::AmountSign, 13},
    {"settlement_byte::Cap", protocol::settlement_byte::Cap, 14},
    {"settlement_byte::Amount", protocol::settlement_byte::Amount, 16},
    {"settlement_byte::WinText", protocol::settlement_byte::WinText, 16},
    {"settlement_byte::Level", protocol::settlement_byte::Level, 24},
    {"settlement_byte::Subtotal", protocol::settlement_byte::Subtotal, 78},
    {"settlement_byte::TopCap", protocol::settlement_byte::TopCap, 87},
    {"table_status_byte::WealthMultiplier", protocol::table_status_byte::WealthMultiplier, 16},
    {"user_left_byte::FirstCharFlag", protocol::user_left_byte::FirstCharFlag, 8},
    {"user_left_byte::Name", protocol::user_left_byte::Name, 16},
    {"server_notice_byte::Text", protocol::server_notice_byte::Text, 16},
    {"seat_snapshot_byte::Tiles", protocol::seat_snapshot_byte::Tiles, 16},
    {"impeach_byte::Outcome", protocol::impeach_byte::Outcome, 11},
    {"impeach_byte::Text", protocol::impeach_byte::Text, 16},
    {"goods_byte::SubCode", protocol::goods_byte::SubCode, 16},
    {"goods_byte::GoodsId", protocol::goods_byte::GoodsId, 17},
    {"goods_byte::Count", protocol::goods_byte::Count, 21},
};

class WireNumber : public ::testing::TestWithParam<Literal> {};

TEST_P(WireNumber, NamedConstantHasTheWireValue) { EXPECT_EQ(GetParam().named, GetParam().wire); }

std::string CaseName(const ::testing::TestParamInfo<Literal>& info)
{
    std::string n = info.param.name;
    for (char& ch : n)
        if (ch == ':')
            ch = '_';
    return n;
}

INSTANTIATE_TEST_SUITE_P(Protocol, WireNumber, ::testing::ValuesIn(kWire), CaseName);

} // namespace

TEST(Protocol, EchoTokenTravelsInEveryKindButTheReconnectReplyAnd71To99)
{
    for (int kind = 0; kind <= 255; ++kind) {
        const bool tokenless = kind == 29 || (kind >= 71 && kind <= 99);
        EXPECT_EQ(protocol::CarriesEchoToken(kind), !tokenless) << "kind " << kind;
    }
}

TEST(Protocol, TileCodesAreOneSuitBitAndARankOfItsSuit)
{
    struct Case {
        int value;
        bool tile;
    };
    const Case cases[] = {{0x11, true},  {0x17, true},  {0x18, false}, {0x10, false}, {0x21, true},
                          {0x29, true},  {0x2A, false}, {0x45, true},  {0x89, true},  {0x31, false},
                          {0x00, false}, {-1, false},   {0x111, false}};
    for (const Case& c : cases)
        EXPECT_EQ(protocol::IsTileCode(c.value), c.tile) << std::hex << c.value;
}

TEST(Protocol, ClientTileWordsCarryTheirFlagAboveTheCode)
{
    EXPECT_EQ(protocol::ClaimTile(0x25), 0x2025);
    EXPECT_EQ(protocol::DiscardTile(0x89), 0x4089);
    EXPECT_EQ(protocol::DiscardTile(0x2025), 0x4025); // an old flag is replaced
}
