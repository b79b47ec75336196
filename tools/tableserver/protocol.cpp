#include "protocol.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace tableserver::proto {

namespace fb = protocol::frame_byte;
namespace ub = protocol::user_info_byte;

namespace text {
const std::string Robot = "\xBB\xFA\xC6\xF7\xC8\xCB";
const std::string Novice = "\xD0\xC2\xCA\xD6";
const std::string Player = "\xCD\xE6\xBC\xD2";
const std::string SelfDrawn = "\xD7\xD4\xC3\xFE";
const std::string OnDiscard = "\xB5\xE3\xC5\xDA";
const std::string Drawn = "\xC1\xF7\xBE\xD6";
const std::string RobbedKong = "\xC7\xC0\xB8\xDC";
const std::string Said = "\xCB\xB5\xB5\xC0: ";
// The client's second phrase list: 谢谢 厉害 加油 再见.
const std::string Phrases2[kRobotPhrases] = {"\xD0\xBB\xD0\xBB", "\xC0\xF7\xBA\xA6", "\xBC\xD3\xD3\xCD",
                                             "\xD4\xD9\xBC\xFB"};
} // namespace text

namespace {

uint16_t Word(const GameFrame& f, int index)
{
    return static_cast<uint16_t>((f[static_cast<std::size_t>(fb::Data + 2 * index)] << 8)
                                 | f[static_cast<std::size_t>(fb::Data + 1 + 2 * index)]);
}

uint8_t At(const GameFrame& f, int at) { return f[static_cast<std::size_t>(at)]; }

uint64_t Little(const GameFrame& f, int at, int bytes)
{
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | At(f, at + i);
    return v;
}

std::string Bytes(const GameFrame& f, int from, int maxBytes)
{
    std::string s;
    for (int i = 0; i < maxBytes && At(f, from + i) != 0; ++i)
        s.push_back(static_cast<char>(At(f, from + i)));
    return s;
}

std::string Hex(unsigned v, int digits)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "%0*x", digits, v);
    return buf;
}

// A tile in a trace: its code and its name.
std::string T(unsigned code)
{
    if ((code & 0xFF) == 0)
        return "-";
    return "0x" + Hex(code & 0xFF, 2) + "(" + tile::Name(static_cast<Tile>(code & 0xFF)) + ")";
}

// A text for a trace: printable ASCII as it is, every other byte as \xNN.
std::string Printable(const std::string& s)
{
    std::string out;
    for (unsigned char c : s) {
        if (c >= 0x20 && c < 0x7F && c != '\\')
            out.push_back(static_cast<char>(c));
        else
            out += "\\x" + Hex(c, 2);
    }
    return out;
}

int64_t Signed(uint16_t w) { return static_cast<int16_t>(w); }

} // namespace

GameFrame Header(int kind, uint8_t seatByte, uint8_t b3, std::array<int, 4> data, uint8_t b1)
{
    GameFrame f{};
    f[fb::Kind] = static_cast<uint8_t>(kind);
    f[fb::B1] = b1;
    f[fb::Seat] = seatByte;
    f[fb::B3] = b3;
    for (int i = 0; i < 4; ++i)
        PutWord(f, i, data[static_cast<std::size_t>(i)]);
    return f;
}

void PutWord(GameFrame& f, int index, int value)
{
    const auto w = static_cast<uint16_t>(value);
    f[static_cast<std::size_t>(fb::Data + 2 * index)] = static_cast<uint8_t>(w >> 8);
    f[static_cast<std::size_t>(fb::Data + 1 + 2 * index)] = static_cast<uint8_t>(w & 0xFF);
}

void PutLittle(GameFrame& f, int at, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(value >> (8 * i));
}

void PutText(GameFrame& f, int at, const std::string& bytes, int maxBytes)
{
    for (int i = 0; i < maxBytes && i < static_cast<int>(bytes.size()); ++i)
        f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(bytes[static_cast<std::size_t>(i)]);
}

GameFrame LoginReply(int result, int timeoutLimit, int countdownStart)
{
    return Header(protocol::MsgLoginReply, 0, 0, {timeoutLimit & 0xFF, countdownStart & 0x0F, 0, result});
}

GameFrame MatchInfoUrl(const std::string& md5, const std::string& url, int region, uint32_t reserve)
{
    namespace mib = protocol::match_info_byte;
    GameFrame f = Header(protocol::MsgMatchInfoUrl, 0);
    PutText(f, mib::Md5, md5, mib::Md5Last - mib::Md5 + 1);
    const int urlBytes = std::min<int>(static_cast<int>(url.size()), mib::UrlLast - mib::Url);
    PutText(f, mib::Url, url, urlBytes);
    const int nul = mib::Url + urlBytes;
    f[static_cast<std::size_t>(nul + mib::RegionAfterUrl)] = static_cast<uint8_t>(region);
    PutLittle(f, nul + mib::ReserveAfterUrl, reserve, 4);
    return f;
}

GameFrame ReconnectReply(bool ok) { return Header(protocol::MsgReconnectReply, 0, 0, {0, 0, 0, ok ? 1 : 0}); }

GameFrame SeatName(int seat, const std::string& name)
{
    GameFrame f = Header(protocol::MsgSeatName, SeatBit(seat));
    PutText(f, fb::Payload, name, protocol::kNameBytes);
    return f;
}

GameFrame UserInfo(const UserRecord& user, uint8_t seatByte)
{
    GameFrame f = Header(protocol::MsgUserInfo, seatByte);
    PutText(f, ub::Nickname, user.nickname, 32);
    PutText(f, ub::Avatar, user.avatar, 16);
    f[ub::Sex] = static_cast<uint8_t>(user.sex);
    PutLittle(f, ub::Coins, user.coins, 8);
    PutText(f, ub::Level, user.level, 16);
    PutText(f, ub::Account, user.account, 16);
    PutText(f, ub::Title, user.title, 24);
    PutText(f, ub::Voice1, "27", 8); // voice pack; the client draws the voices itself
    PutText(f, ub::Voice2, "10", 8);
    PutLittle(f, ub::UserId, user.userId, 8);
    f[ub::VipLevel] = static_cast<uint8_t>(user.vipLevel);
    f[ub::GmService] = 1; // customer service is on (tools/servicehost answers it)
    f[ub::NoPlugin] = 1; // no prop plug-in at this table
    return f;
}

GameFrame GameStarts(int bankerSeat, uint32_t reconnectId)
{
    GameFrame f = Header(protocol::MsgTableStatus, SeatBit(bankerSeat), 0, {0, 0, 0, protocol::StatusGameStarts});
    PutLittle(f, fb::ReconnectId, reconnectId, 4);
    return f;
}

GameFrame GameOver() { return Header(protocol::MsgTableStatus, 0, 0, {0, 0, 0, protocol::StatusGameOver}); }

GameFrame HandStart(int bankerSeat, const std::array<int, 4>& dice, uint64_t reportFee)
{
    GameFrame f = Header(protocol::MsgHandStart, SeatBit(bankerSeat), 0, dice);
    if (reportFee == 0)
        return f;
    namespace hb = protocol::hand_start_byte;
    for (int seat = 0; seat < 4; ++seat) {
        f[static_cast<std::size_t>(hb::ImpeachSeats + 2 * seat)] = SeatBit(seat);
        f[static_cast<std::size_t>(hb::ImpeachSeats + 2 * seat + 1)] = 1;
    }
    PutLittle(f, hb::ImpeachFee, reportFee, 8);
    f[hb::ImpeachOn] = 1;
    return f;
}

GameFrame Deal(const std::vector<Tile>& tiles)
{
    const int n = static_cast<int>(tiles.size() > 12 ? 12 : tiles.size());
    GameFrame f = Header(protocol::MsgDeal, 0, 0, {0, n, 0, 0});
    for (int i = 0; i < n; ++i) {
        const Tile t = tiles[static_cast<std::size_t>(i)];
        f[static_cast<std::size_t>(protocol::deal_byte::Tiles + 2 * i)] = static_cast<uint8_t>(tile::Rank(t));
        f[static_cast<std::size_t>(protocol::deal_byte::Tiles + 1 + 2 * i)] = static_cast<uint8_t>(tile::SuitBits(t) >> 4);
    }
    return f;
}

GameFrame Draw(int seat, Tile tile) { return Header(protocol::MsgDraw, SeatBit(seat), 0, {0, 0, 0, tile}); }

GameFrame RoundSnapshot(int bankerSeat, int figure1, int figure2, Tile wild, Tile indicator)
{
    return Header(protocol::MsgRoundSnapshot, SeatBit(bankerSeat), 0, {figure1, figure2, wild, indicator});
}

GameFrame SeatSnapshot(int seat, int rowDiscards, int tilesOut, int tailFigure, const std::vector<Tile>& laid,
                       const std::vector<Tile>& hand)
{
    GameFrame f = Header(protocol::MsgSeatSnapshot, SeatBit(seat), static_cast<uint8_t>(rowDiscards),
                         {0, tilesOut, 0, tailFigure});
    constexpr int kEntries = 24;
    int k = 0;
    auto put = [&](uint8_t kind, Tile t) {
        if (k >= kEntries)
            return;
        f[static_cast<std::size_t>(protocol::seat_snapshot_byte::Tiles + 2 * k)] = kind;
        f[static_cast<std::size_t>(protocol::seat_snapshot_byte::Tiles + 2 * k + 1)] = static_cast<uint8_t>(t);
        ++k;
    };
    for (Tile t : laid)
        put(0x20, t);
    for (Tile t : hand)
        put(0x10, t);
    return f;
}

GameFrame WildTile(Tile indicator, Tile wild) { return Header(protocol::MsgWildTile, 0, 0, {0, 0, wild, indicator}); }

GameFrame TurnPrompt(int seat, uint8_t stamp, int mask, int countdown, bool falseWin)
{
    GameFrame f = Header(protocol::MsgTurnPrompt, SeatBit(seat), stamp, {mask, falseWin ? 1 : 0, 0, 0});
    f[protocol::turn_prompt_byte::Countdown] = static_cast<uint8_t>(countdown);
    return f;
}

GameFrame Discard(int seat, Tile tile, bool fromInsideHand)
{
    return Header(protocol::MsgDiscard, SeatBit(seat), 0, {0, fromInsideHand ? 1 : 0, 0, tile});
}

GameFrame Operation(int seat, int operation, const std::array<Tile, 3>& tiles)
{
    return Header(protocol::MsgOperation, SeatBit(seat), 0, {operation, tiles[0], tiles[1], tiles[2]});
}

GameFrame WallReveal(int seat, const std::vector<Tile>& handTiles, const std::vector<Tile>& wallTiles)
{
    GameFrame f = Header(protocol::MsgWallReveal, SeatBit(seat));
    for (int n = 0; n < 4 && n < static_cast<int>(handTiles.size()); ++n)
        PutWord(f, 3 - n, handTiles[static_cast<std::size_t>(n)]);
    for (int i = 0; i < 5 && i < static_cast<int>(wallTiles.size()); ++i)
        f[static_cast<std::size_t>(protocol::wall_reveal_byte::WallTiles + i)] = wallTiles[static_cast<std::size_t>(i)];
    return f;
}

GameFrame SeatResult(int seat, int64_t amount, int fan, const std::string& resultText)
{
    GameFrame f = Header(protocol::MsgSeatResult, SeatBit(seat), 0, {0, amount < 0 ? 0 : 1, 0, fan & 0xFF});
    PutLittle(f, protocol::seat_result_byte::Amount, static_cast<uint64_t>(amount < 0 ? -amount : amount), 8);
    PutText(f, protocol::seat_result_byte::Text, resultText, 20);
    return f;
}

GameFrame SettlementFrame(int seat, int k, const std::array<int16_t, 16>& rows, int64_t amount,
                          uint64_t subtotal, const std::string& level)
{
    GameFrame f = Header(protocol::MsgSettlement, SeatBit(seat));
    for (int i = 0; i < 4; ++i)
        PutWord(f, i, rows[static_cast<std::size_t>(4 * k + i)]);
    PutLittle(f, protocol::settlement_byte::Subtotal, subtotal, 8);
    if (k == 3) {
        // The sign of the final amount travels in the low byte of row 14
        // (frame byte 13); the amount itself without its sign.
        PutLittle(f, protocol::settlement_byte::Amount, static_cast<uint64_t>(amount < 0 ? -amount : amount), 8);
        PutText(f, protocol::settlement_byte::Level, level, 16);
    }
    return f;
}

GameFrame PlayerReady(const std::string& name)
{
    GameFrame f = Header(protocol::MsgPlayerReady, 0, 0, {0, 0, 0, 1});
    PutText(f, fb::Payload, name, protocol::kNameBytes);
    return f;
}

GameFrame ChatRelay(const GameFrame& fromClient, int senderSeat)
{
    GameFrame f = fromClient;
    f[0] = f[1] = f[2] = f[4] = 0;
    f[fb::Seat] = SeatBit(senderSeat);
    SetToken(f, 0);
    return f;
}

GameFrame RobotPhrase(int seat, const std::string& nickname, const std::string& seatName, int index)
{
    index = std::clamp(index, 0, kRobotPhrases - 1);
    GameFrame f = Header(protocol::MsgChat, SeatBit(seat), 0, {2, 0, 97, index + 1});
    PutText(f, fb::ChatText, nickname + text::Said + text::Phrases2[index], 2 * protocol::kChatTextMaxChars);
    PutText(f, fb::ChatName, seatName, protocol::kNameBytes);
    return f;
}

ClientFrame Decode(const GameFrame& f)
{
    ClientFrame c;
    c.kind = At(f, fb::Kind);
    c.b1 = At(f, fb::B1);
    c.seatByte = At(f, fb::Seat);
    c.b3 = At(f, fb::B3);
    for (int i = 0; i < 4; ++i)
        c.data[static_cast<std::size_t>(i)] = Word(f, i);
    c.token = TokenOf(f);
    return c;
}

bool HeaderWellFormed(const GameFrame& f) { return f[0] == 0 && f[1] == 0 && f[2] == 0 && f[4] == 0; }

std::string LoginName(const GameFrame& f) { return Bytes(f, protocol::login_byte::Name, protocol::kNameBytes); }

std::string LoginKey(const GameFrame& f)
{
    return Bytes(f, protocol::login_byte::Key, fb::EchoToken - protocol::login_byte::Key);
}

uint32_t ReconnectIdOf(const GameFrame& f)
{
    return static_cast<uint32_t>(Little(f, fb::ReconnectId, 4));
}

bool IsReady(const GameFrame& f)
{
    const ClientFrame c = Decode(f);
    return c.kind == protocol::CmdReady && c.data == std::array<uint16_t, 4>{0, 0, 0, 1};
}

bool IsLeave(const GameFrame& f)
{
    const ClientFrame c = Decode(f);
    return c.kind == protocol::CmdLeaveTable && c.data == std::array<uint16_t, 4>{0, 0, 0, 0};
}

uint16_t TokenOf(const GameFrame& f)
{
    return static_cast<uint16_t>((At(f, fb::EchoToken) << 8) | At(f, fb::EchoToken + 1));
}

void SetToken(GameFrame& f, uint16_t token)
{
    f[fb::EchoToken] = static_cast<uint8_t>(token >> 8);
    f[fb::EchoToken + 1] = static_cast<uint8_t>(token & 0xFF);
}

std::string Describe(const GameFrame& f, bool fromClient)
{
    const ClientFrame c = Decode(f);
    std::ostringstream o;
    o << "kind=" << c.kind << " hdr=" << int(c.b1) << "," << int(c.seatByte) << "," << int(c.b3) << " data=";
    for (int i = 0; i < 4; ++i) {
        if (i)
            o << ",";
        if (fromClient)
            o << "0x" << Hex(c.data[static_cast<std::size_t>(i)], 4);
        else if (c.kind == protocol::MsgSettlement)
            o << Signed(c.data[static_cast<std::size_t>(i)]);
        else
            o << (c.data[static_cast<std::size_t>(i)] & 0xFF);
    }
    o << " token=" << Hex(c.token, 4) << " |";
    const int seat = c.seatByte & protocol::kSeatMask;
    const auto d = [&](int i) { return c.data[static_cast<std::size_t>(i)]; };

    if (fromClient) {
        switch (c.kind) {
        case protocol::CmdDiscard:
            o << " discard bit=" << seat << " stamp=" << int(c.b3) << " tile=" << T(d(3)) << " inside=" << d(1);
            break;
        case protocol::CmdOperation:
            o << " operation bit=" << seat << " stamp=" << int(c.b3) << " op=" << d(0) << " tiles=" << T(d(1))
              << "," << T(d(2)) << "," << T(d(3));
            break;
        case protocol::CmdReady:
            o << (IsReady(f) ? " ready" : IsLeave(f) ? " leave" : " status") << " bit=" << seat;
            break;
        case protocol::CmdLogin:
        case protocol::CmdReconnect:
            o << (c.kind == protocol::CmdLogin ? " login" : " reconnect") << " name=" << Printable(LoginName(f));
            if (c.kind == protocol::CmdReconnect)
                o << " id=" << ReconnectIdOf(f);
            break;
        case protocol::CmdChat:
            o << " chat bit=" << seat << " mode=" << d(0) << " target=" << d(1) << " item=" << d(3)
              << " text=" << Printable(Bytes(f, fb::ChatText, 2 * protocol::kChatTextMaxChars));
            break;
        case protocol::CmdKeepAlive:
            o << " keepalive bit=" << seat;
            break;
        case protocol::CmdMatchSign:
        case protocol::CmdSortRequest:
            o << (c.kind == protocol::CmdMatchSign ? " match-sign" : " sort-request")
              << " id=" << Little(f, protocol::match_cmd_byte::InstanceId, 4);
            break;
        case protocol::CmdTimeRequest:
            o << " time-request";
            break;
        default:
            o << " other";
            break;
        }
        return o.str();
    }

    switch (c.kind) {
    case protocol::MsgDeal: {
        o << " deal count=" << (d(1) & 0xFF) << " tiles=";
        for (int i = 0; i < 12; ++i) {
            const int at = protocol::deal_byte::Tiles + 2 * i;
            const int code = At(f, at + 1) * 16 + At(f, at);
            if (code == 0)
                break;
            o << (i ? "," : "") << T(static_cast<unsigned>(code));
        }
        break;
    }
    case protocol::MsgDiscard:
        o << " discard bit=" << seat << " tile=" << T(d(3)) << " inside=" << (d(1) & 0xFF);
        break;
    case protocol::MsgSeatName:
        o << " seatname bit=" << seat << " name=" << Printable(Bytes(f, fb::Payload, protocol::kNameBytes));
        break;
    case protocol::MsgHandStart:
        o << " handstart banker=" << seat << " dice=" << (d(0) & 0xFF) << "," << (d(1) & 0xFF) << ","
          << (d(2) & 0xFF) << "," << (d(3) & 0xFF);
        break;
    case protocol::MsgDraw:
        o << " draw bit=" << seat << " tile=" << T(d(3));
        break;
    case protocol::MsgTurnPrompt:
        o << " prompt bit=" << seat << " stamp=" << int(c.b3) << " mask=0x" << Hex(d(0) & 0xFF, 2)
          << " countdown=" << int(At(f, protocol::turn_prompt_byte::Countdown));
        if (d(1) & 1)
            o << " falsewin";
        break;
    case protocol::MsgOperation:
        o << " operation bit=" << seat << " op=" << (d(0) & 0xFF) << " tiles=" << T(d(1)) << "," << T(d(2)) << ","
          << T(d(3));
        break;
    case protocol::MsgSeatResult: {
        const int64_t mag = static_cast<int64_t>(Little(f, protocol::seat_result_byte::Amount, 8));
        const int fan = (d(3) & 0xFF) > 128 ? (d(3) & 0xFF) - 256 : (d(3) & 0xFF);
        o << " result bit=" << seat << " amount=" << ((d(1) & 0xFF) == 0 ? -mag : mag) << " fan=" << fan
          << " text=" << Printable(Bytes(f, protocol::seat_result_byte::Text, 20));
        break;
    }
    case protocol::MsgMatchInfoUrl:
        o << " match-info md5=" << Printable(Bytes(f, protocol::match_info_byte::Md5, 32))
          << " url=" << Printable(Bytes(f, protocol::match_info_byte::Url, 208));
        break;
    case protocol::MsgRoundSnapshot:
        o << " round-snapshot bit=" << seat << " figures=" << d(0) << "," << d(1) << " wild=" << T(d(2))
          << " indicator=" << T(d(3));
        break;
    case protocol::MsgSeatSnapshot:
        o << " seat-snapshot bit=" << seat << " discards=" << static_cast<int>(f[protocol::frame_byte::B3])
          << " out=" << d(1) << " tail=" << d(3);
        break;
    case protocol::MsgWildTile:
        o << " wild indicator=" << T(d(3)) << " wild=" << T(d(2)) << " streak=" << (d(1) & 0xFF);
        break;
    case protocol::MsgWallReveal:
        o << " reveal bit=" << seat << " tiles=" << T(d(3)) << "," << T(d(2)) << "," << T(d(1)) << "," << T(d(0))
          << " wall=";
        for (int i = 0; i < 5; ++i)
            o << (i ? "," : "") << "0x" << Hex(At(f, protocol::wall_reveal_byte::WallTiles + i), 2);
        break;
    case protocol::MsgTableStatus:
        o << " status sub=" << (d(3) & 0xFF) << " bit=" << seat;
        if ((d(3) & 0xFF) == protocol::StatusGameStarts)
            o << " reconnect=" << ReconnectIdOf(f);
        break;
    case protocol::MsgSettlement: {
        o << " settlement bit=" << seat << " subtotal=" << Little(f, protocol::settlement_byte::Subtotal, 8);
        const int64_t mag = static_cast<int64_t>(Little(f, protocol::settlement_byte::Amount, 8));
        if (At(f, protocol::settlement_byte::AmountSign) == 0 && mag != 0)
            o << " final=-" << mag;
        else
            o << " final=" << mag;
        break;
    }
    case protocol::MsgLoginReply:
        o << " loginreply result=" << (d(3) & 0xFF) << " countdown=" << (d(1) & 0x0F);
        break;
    case protocol::MsgChat:
        o << " chat bit=" << seat << " mode=" << (d(0) & 0xFF) << " item=" << (d(3) & 0xFF)
          << " text=" << Printable(Bytes(f, fb::ChatText, 2 * protocol::kChatTextMaxChars));
        break;
    case protocol::MsgUserInfo:
        o << " userinfo bit=" << int(c.seatByte & protocol::kSeatMask)
          << " account=" << Printable(Bytes(f, ub::Account, 16)) << " coins=" << Little(f, ub::Coins, 8);
        break;
    case protocol::MsgPlayerReady:
        o << " ready name=" << Printable(Bytes(f, fb::Payload, protocol::kNameBytes));
        break;
    case protocol::MsgReconnectReply:
        o << " reconnectreply result=" << (d(3) & 0xFF);
        break;
    case protocol::MsgPrizeNotice: {
        namespace pn = protocol::prize_notice_byte;
        const int mode = static_cast<int>(Little(f, pn::Mode, 2));
        // Modes 7 and 8 leave byte 18 out of their text.
        const int text = mode == 7 || mode == 8 ? pn::Text + 1 : pn::Text;
        o << " prize-notice mode=" << mode << " text=" << Printable(Bytes(f, text, pn::TextLast - text + 1));
        break;
    }
    default:
        o << " other";
        break;
    }
    return o.str();
}

} // namespace tableserver::proto
