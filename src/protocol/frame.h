#pragma once

#include <array>
#include <cstdint>

namespace protocol {

// Every frame of the game protocol, in both directions, is exactly this long.
constexpr int kFrameSize = 272;

using GameFrame = std::array<uint8_t, kFrameSize>;

// Byte positions inside a frame.
namespace frame_byte {
constexpr int KindHigh = 2;
constexpr int Kind = 3;
constexpr int B1 = 5;
constexpr int Seat = 6;
constexpr int B3 = 7;
constexpr int Data = 8;          // four 16-bit words, high byte first
constexpr int Payload = 16;
constexpr int ChatText = 16;     // up to 100 characters of GBK
constexpr int ChatName = 217;    // the sender's name, 16 bytes
constexpr int RelayLength = 236; // a plug-in relay's length, 4 bytes, high byte first
constexpr int EchoToken = 260;   // two bytes
constexpr int ReconnectId = 268;
} // namespace frame_byte

// The seat byte's low four bits are the seat bit (1, 2, 4, 8).
constexpr uint8_t kSeatMask = 0x0F;

// Payload positions of the kinds that carry more than their header.
// The match-info announcement (kind 80): the document's MD5, then its
// address up to a NUL; after that NUL a session byte, the price region, a
// VIP byte and the reserve (32-bit little-endian).
namespace match_info_byte {
constexpr int Md5 = 16;
constexpr int Md5Last = 47;
constexpr int Url = 48;
constexpr int UrlLast = 255;
constexpr int RegionAfterUrl = 2;  // counted from the address's NUL
constexpr int ReserveAfterUrl = 4; // four bytes
} // namespace match_info_byte

// Match commands (kinds 72 and 79): the instance id, 32-bit little-endian.
namespace match_cmd_byte {
constexpr int InstanceId = 16;
} // namespace match_cmd_byte

// Fields shared by most match frames: the instance id and a session's start
// (seconds since 1970-01-01), both 32-bit little-endian.
namespace match_frame_byte {
constexpr int InstanceId = 16;
constexpr int Time = 20;
constexpr int TextLast = 255; // every text field of a match frame ends here at the latest
} // namespace match_frame_byte

// Kind 72: confirmed flag, 16-bit sign-up count, 32-bit prize base, text.
namespace match_sign_byte {
constexpr int Confirmed = 24;
constexpr int Count = 25;
constexpr int Base = 27;
constexpr int Text = 31;
} // namespace match_sign_byte

// Kind 73: the "no longer signed up" flag, then the text.
namespace match_sign_off_byte {
constexpr int SignedOff = 24;
constexpr int Text = 25;
} // namespace match_sign_off_byte

// Kind 74: a count, then entries of id, start and state.
namespace match_states_byte {
constexpr int Count = 16;
constexpr int Entries = 17;
constexpr int EntrySize = 9;
constexpr int EntryId = 0;
constexpr int EntryTime = 4;
constexpr int EntryState = 8;
constexpr int MaxEntries = 28; // the most that fit in a frame
constexpr uint8_t StateRunning = 2;
} // namespace match_states_byte

// Kind 75: the session's state, then the text.
namespace match_start_end_byte {
constexpr int State = 24;
constexpr int Text = 25;
constexpr uint8_t Started = 1;
constexpr uint8_t Ended = 2;
constexpr uint8_t Closed = 3; // closed without a result
} // namespace match_start_end_byte

// Kinds 77 and 78: the player's place and points.
namespace match_place_byte {
constexpr int Place = 24;
constexpr int Points = 28;
} // namespace match_place_byte

// Kind 79: the first place (16-bit unsigned), the row count (16-bit), rows
// of a nickname and 32-bit points.
namespace match_sort_byte {
constexpr int FirstPlace = 24;
constexpr int Count = 26;
constexpr int Rows = 28;
constexpr int RowSize = 36;
constexpr int RowName = 0;
constexpr int RowNameLast = 31;
constexpr int RowPoints = 32;
constexpr int MaxRows = 6; // a seventh row would reach past the frame
} // namespace match_sort_byte

// Kind 81: the server clock, seconds since 1970-01-01.
namespace server_time_byte {
constexpr int Time = 16;
} // namespace server_time_byte

// Kind 82: a count, then entries of id, signed start, duration and a
// 16-bit prize base.
namespace match_list_byte {
constexpr int Count = 16;
constexpr int Entries = 17;
constexpr int EntrySize = 14;
constexpr int EntryId = 0;
constexpr int EntryStart = 4;
constexpr int EntryDuration = 8;
constexpr int EntryBase = 12;
constexpr int MaxEntries = 18; // the most that fit in a frame
} // namespace match_list_byte

// Kind 83: the signed start and the duration of the next session.
namespace match_update_byte {
constexpr int Start = 20;
constexpr int Duration = 24;
} // namespace match_update_byte

// Kind 87: 16-bit sign-up count and 32-bit prize base.
namespace match_sign_count_byte {
constexpr int Count = 24;
constexpr int Base = 26;
} // namespace match_sign_count_byte

// Kind 88: the 32-bit prize base.
namespace match_prize_base_byte {
constexpr int Base = 24;
} // namespace match_prize_base_byte

// Kind 89: the champion's name and the prize text.
namespace match_champion_byte {
constexpr int Name = 24;
constexpr int NameLast = 55;
constexpr int Prize = 56;
} // namespace match_champion_byte

// Kind 90: the lead of the automatic sign-up in seconds.
namespace auto_sign_byte {
constexpr int Lead = 16;
} // namespace auto_sign_byte

// Kinds 91 and 92: a sign byte and a 64-bit magnitude; then the message
// text (91) or the account whose gold changed (92).
namespace gold_byte {
constexpr int Sign = 16;
constexpr int Magnitude = 17;
constexpr int Text = 25;
constexpr int Account = 25;
constexpr int AccountLast = 41;
} // namespace gold_byte

// Kind 93: the notice text.
namespace marquee_byte {
constexpr int Text = 16;
} // namespace marquee_byte

// Kind 47: three 32-bit fields (the table number, one unused, the count),
// each 0-32767, then entries of a name, an unread field, score and place.
namespace match_standings_byte {
constexpr int IdNum = 16;
constexpr int Unused = 20;
constexpr int Count = 24;
constexpr int Entries = 28;
constexpr int EntrySize = 28;
constexpr int EntryName = 0;
constexpr int EntryNameLast = 15;
constexpr int EntryScore = 20;
constexpr int EntrySort = 24;
constexpr int MaxEntries = 4;
} // namespace match_standings_byte

namespace login_byte {
constexpr int Marker = 14; // the high byte of the last data word, always 1
constexpr int Name = 16; // kNameBytes
constexpr int Key = 32;  // up to the echo token
} // namespace login_byte

namespace login_reply_byte {
constexpr int AdName = 16; // the advertisement's address, 100 bytes
} // namespace login_reply_byte

namespace user_info_byte {
constexpr int Nickname = 16;    // 32 bytes of GBK
constexpr int Avatar = 48;      // 16 bytes
constexpr int Sex = 64;
constexpr int CardText = 72;    // 8 bytes, two bytes a character
constexpr int Points = 80;      // 8 bytes, little-endian
constexpr int MemberLevel = 88; // 8 bytes, little-endian
constexpr int Coins = 96;       // 8 bytes, little-endian
constexpr int Value104 = 104;   // 8 bytes, little-endian
constexpr int Level = 112;      // 16 bytes
constexpr int Value128 = 128;   // 8 bytes, little-endian
constexpr int Value136 = 136;   // 8 bytes, little-endian
constexpr int RoomGrade = 144;  // 8 bytes, little-endian
constexpr int Count152 = 152;   // 4 bytes, little-endian, signed
constexpr int Count156 = 156;   // 4 bytes, little-endian, signed
constexpr int Count160 = 160;   // 4 bytes, little-endian, signed
constexpr int Count164 = 164;   // 4 bytes, little-endian, signed
constexpr int Account = 168;    // 16 bytes
constexpr int Title = 184;      // 24 bytes, two bytes a character
constexpr int Ready = 208;      // 1: the user is ready
constexpr int VipLevel = 209;
constexpr int Voice1 = 210;     // 8 bytes
constexpr int Voice2 = 218;     // 8 bytes
constexpr int UserId = 226;     // 8 bytes, little-endian
constexpr int Wealth = 234;     // 4 bytes, little-endian
constexpr int GmService = 254;  // 1: the customer service is on
constexpr int NoPlugin = 255;
} // namespace user_info_byte

namespace deal_byte {
constexpr int Tiles = 16; // two bytes a tile: rank, then suit bits >> 4
} // namespace deal_byte

namespace hand_start_byte {
constexpr int DiceMultiplier = 18;
constexpr int ImpeachSeats = 239; // four pairs: a seat bit, then 1 when that seat may report a cheater
constexpr int ImpeachFee = 247;   // 8 bytes, little-endian
constexpr int ImpeachOn = 255;    // 1: cheaters can be reported in this hand
} // namespace hand_start_byte

namespace turn_prompt_byte {
constexpr int Countdown = 100; // seconds
} // namespace turn_prompt_byte

namespace wall_reveal_byte {
constexpr int WallTiles = 16; // five tile codes
} // namespace wall_reveal_byte

namespace seat_result_byte {
constexpr int Amount = 16; // 8 bytes, little-endian, without its sign
constexpr int Flag = 24;   // nonzero sets the seat's flag
constexpr int Text = 36;   // 20 bytes of GBK
} // namespace seat_result_byte

namespace settlement_byte {
constexpr int AmountSign = 13; // zero for a negative final amount
constexpr int Cap = 14;        // the low four bits: the cap the hand reached
constexpr int Amount = 16;     // 8 bytes, little-endian, without its sign
constexpr int WinText = 16;    // a special win's text, GBK up to the subtotal
constexpr int Level = 24;      // 16 bytes
constexpr int Subtotal = 78;   // 8 bytes, little-endian
constexpr int TopCap = 87;     // 1: the highest cap
} // namespace settlement_byte

namespace table_status_byte {
constexpr int WealthMultiplier = 16; // 4 bytes, little-endian
} // namespace table_status_byte

namespace user_left_byte {
constexpr int FirstCharFlag = 8; // 1: the name's first byte is one above its character
constexpr int Name = 16;         // kNameBytes
} // namespace user_left_byte

namespace server_notice_byte {
constexpr int Text = 16; // 200 bytes of GBK
} // namespace server_notice_byte

namespace seat_snapshot_byte {
constexpr int Tiles = 16; // two bytes an entry: its class in the high four bits, then a tile code
} // namespace seat_snapshot_byte

namespace impeach_byte {
constexpr int Outcome = 11; // 1: a report was made; 11: the fee was paid
constexpr int Text = 16;    // 240 bytes of GBK
} // namespace impeach_byte

namespace goods_byte {
constexpr int SubCode = 16;
constexpr int GoodsId = 17; // 4 bytes, little-endian
constexpr int Count = 21;   // 4 bytes, little-endian
} // namespace goods_byte

// The goods bag (kind 85): a count, then 6-byte entries of a 16-bit goods id
// and a 32-bit count; one goods' new count (kind 86).
namespace goods_bag_byte {
constexpr int EntryCount = 16;
constexpr int Entries = 17;
constexpr int EntrySize = 6;
constexpr int MaxEntries = 42; // the last one ends at byte 268
constexpr int ChangeGoodsId = 16; // 2 bytes
constexpr int ChangeCount = 18;   // 4 bytes
} // namespace goods_bag_byte

// The lottery winners (kind 94 both ways).
namespace prize_list_byte {
constexpr int ListKind = 16;    // only 4 is read
constexpr int More = 17;        // 255: more winners wait
constexpr int RecordCount = 18;
constexpr int Records = 19;
constexpr int RequestId = 16;   // sent: 4 bytes, little-endian
} // namespace prize_list_byte

// Kind 95: a prize notice. The colour is read in mode 6 only; modes 7 and 8
// skip the first text byte.
namespace prize_notice_byte {
constexpr int ColorRed = 9;
constexpr int ColorGreen = 10;
constexpr int ColorBlue = 11;
constexpr int Mode = 16; // 16-bit, little-endian
constexpr int Text = 18;
constexpr int TextLast = 255;
} // namespace prize_notice_byte

constexpr int kChatTextMaxChars = 100;
constexpr int kNameBytes = 16;

// The command record: a frame header in decoded form.
struct GameCmd {
    int16_t Kind = 0;
    uint8_t B1 = 0;
    uint8_t Seat = 0;
    uint8_t B3 = 0;
    std::array<int16_t, 4> Data{};
};

} // namespace protocol
