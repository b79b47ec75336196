#pragma once

#include "protocol/frame.h"
#include "protocol/kinds.h"
#include "tiles.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The frames of the table protocol as this server writes and reads them.
// Every function here is pure: bytes in, bytes out.
namespace tableserver::proto {

using protocol::GameFrame;
using protocol::kFrameSize;

inline uint8_t SeatBit(int seat) { return static_cast<uint8_t>(1 << seat); }

// Texts the server sends, as GBK bytes.
namespace text {
extern const std::string Robot;     // "机器人"
extern const std::string Novice;    // "新手", the level of every player
extern const std::string Player;    // "玩家", the title of every player
extern const std::string SelfDrawn; // "自摸", result text of a self-drawn win
extern const std::string OnDiscard; // "点炮", result text of a win on a discard
extern const std::string Drawn;     // "流局", result text of a drawn hand
extern const std::string RobbedKong; // "抢杠", result text of a win on a robbed kong
} // namespace text

// Building blocks.
GameFrame Header(int kind, uint8_t seatByte, uint8_t b3 = 0, std::array<int, 4> data = {}, uint8_t b1 = 0);
void PutWord(GameFrame& f, int index, int value);                  // data word, high byte first
void PutLittle(GameFrame& f, int at, uint64_t value, int bytes);   // little-endian number
void PutText(GameFrame& f, int at, const std::string& bytes, int maxBytes);

// A user as the user-info frame describes it. Texts are GBK bytes.
struct UserRecord {
    std::string account;  // single-byte characters, at most 16
    std::string nickname; // at most 32 bytes
    std::string avatar;   // "m1" .. "m10", "w1" .. "w10"
    int sex = 1;          // 0 woman, 1 man
    uint64_t coins = 0;
    std::string level;    // double-byte characters, at most 16 bytes
    std::string title;    // double-byte characters, at most 24 bytes
    uint64_t userId = 0;
    int vipLevel = 0;     // 0 none, 1-6 the membership grades
};

// Server frames.
GameFrame LoginReply(int result, int timeoutLimit, int countdownStart);
GameFrame ReconnectReply(bool ok);
GameFrame SeatName(int seat, const std::string& name);
GameFrame UserInfo(const UserRecord& user, uint8_t seatByte);
GameFrame GameStarts(int bankerSeat, uint32_t reconnectId);
GameFrame GameOver();
// reportFee above 0: every seat may report a cheater in this hand for that fee.
GameFrame HandStart(int bankerSeat, const std::array<int, 4>& dice, uint64_t reportFee = 0);
GameFrame Deal(const std::vector<Tile>& tiles); // at most 12 tiles
GameFrame Draw(int seat, Tile tile);             // tile 0 when the receiver may not see it
GameFrame WildTile(Tile indicator, Tile wild);
// falseWin sets bit 0 of data word 1: the offered win is a false win.
GameFrame TurnPrompt(int seat, uint8_t stamp, int mask, int countdown, bool falseWin = false);
GameFrame Discard(int seat, Tile tile, bool fromInsideHand);
GameFrame Operation(int seat, int operation, const std::array<Tile, 3>& tiles);
GameFrame WallReveal(int seat, const std::vector<Tile>& handTiles, const std::vector<Tile>& wallTiles);
GameFrame SeatResult(int seat, int64_t amount, int fan, const std::string& resultText);
GameFrame SettlementFrame(int seat, int k, const std::array<int16_t, 16>& rows, int64_t amount,
                          uint64_t subtotal, const std::string& level);
GameFrame PlayerReady(const std::string& name);
// A running hand for a spectator who joins it: the hand header, then one
// frame per seat with its discards still in the row, the tiles out of the
// wall, the tail figure (135 less the tail draws), its laid tiles (melds and
// single-tile kong rows) and its hand; at most 24 tiles, the laid ones first.
GameFrame RoundSnapshot(int bankerSeat, int figure1, int figure2, Tile wild, Tile indicator);
GameFrame SeatSnapshot(int seat, int rowDiscards, int tilesOut, int tailFigure, const std::vector<Tile>& laid,
                       const std::vector<Tile>& hand);
GameFrame ChatRelay(const GameFrame& fromClient, int senderSeat);
// The match-info announcement: the document's MD5 and address (at most 207
// bytes), then after the address's NUL the price region and the reserve.
GameFrame MatchInfoUrl(const std::string& md5, const std::string& url, int region, uint32_t reserve);

// A robot's quick phrase: phrase `index` (0-3) of the second phrase list,
// as the client sends one (mode 2, marker 97, number index + 1, the line
// nickname "说道: " phrase, the seat name at 217), from the robot's seat.
constexpr int kRobotPhrases = 4;
GameFrame RobotPhrase(int seat, const std::string& nickname, const std::string& seatName, int index);

// Client frames. Data words are read whole (16 bits, high byte first).
struct ClientFrame {
    int kind = 0;
    uint8_t b1 = 0;
    uint8_t seatByte = 0;
    uint8_t b3 = 0;
    std::array<uint16_t, 4> data{};
    uint16_t token = 0;
};
ClientFrame Decode(const GameFrame& f);

// Bytes 0, 1, 2 and 4 of every frame the client builds are zero.
bool HeaderWellFormed(const GameFrame& f);

// Login and reconnect frames.
std::string LoginName(const GameFrame& f); // bytes 16-31 up to the first zero byte
std::string LoginKey(const GameFrame& f);  // bytes 32-259 up to the first zero byte
uint32_t ReconnectIdOf(const GameFrame& f);

// The client's two table-status frames: ready (data 0, 0, 0, 1) and leave
// (kind and seat only; it carries no echo token).
bool IsReady(const GameFrame& f);
bool IsLeave(const GameFrame& f);

uint16_t TokenOf(const GameFrame& f);
void SetToken(GameFrame& f, uint16_t token);

// The tile in a client's data word: its low byte.
inline Tile WordTile(uint16_t word) { return static_cast<Tile>(word & 0xFF); }

// One line for the trace: the header and the meaningful fields of the kind.
std::string Describe(const GameFrame& f, bool fromClient);

} // namespace tableserver::proto
