#pragma once

#include "protocol.h"
#include "table.h"
#include "tiles.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace ts_test {

using tableserver::Tile;
namespace proto = tableserver::proto;

// "1B" bamboo, "5C" characters, "9D" dots, "E" "S" "W" "N" winds,
// "Rd" "Gd" "Wd" dragons.
inline Tile ParseTile(const std::string& s)
{
    if (s == "E")
        return 0x11;
    if (s == "S")
        return 0x12;
    if (s == "W")
        return 0x13;
    if (s == "N")
        return 0x14;
    if (s == "Rd")
        return 0x15;
    if (s == "Gd")
        return 0x16;
    if (s == "Wd")
        return 0x17;
    const int rank = s[0] - '0';
    const int suit = s[1] == 'B' ? 0x20 : s[1] == 'C' ? 0x40 : 0x80;
    return static_cast<Tile>(suit | rank);
}

inline std::vector<Tile> ParseTiles(const std::string& text)
{
    std::istringstream in(text);
    std::vector<Tile> out;
    std::string word;
    while (in >> word)
        out.push_back(ParseTile(word));
    return out;
}

// A wall whose deal gives seat s the tiles hands[s] (12 in the deal frame,
// the 13th by a single draw), the banker (seat 0) `bankerExtra` as its 14th,
// then `indicator`, then `draws` from the head in turn. The rest of the 136
// tiles fill the remaining positions.
inline std::vector<Tile> BuildWall(const std::array<std::string, 4>& hands, const std::string& bankerExtra,
                                   const std::string& indicator, const std::string& draws)
{
    std::array<std::vector<Tile>, 4> h;
    for (int s = 0; s < 4; ++s)
        h[static_cast<std::size_t>(s)] = ParseTiles(hands[static_cast<std::size_t>(s)]);
    std::vector<Tile> ring;
    for (int pass = 0; pass < 3; ++pass)
        for (int s = 0; s < 4; ++s)
            for (int i = 0; i < 4; ++i)
                ring.push_back(h[static_cast<std::size_t>(s)][static_cast<std::size_t>(pass * 4 + i)]);
    for (int s = 0; s < 4; ++s)
        ring.push_back(h[static_cast<std::size_t>(s)][12]);
    ring.push_back(ParseTile(bankerExtra));
    ring.push_back(ParseTile(indicator));
    for (Tile t : ParseTiles(draws))
        ring.push_back(t);
    const auto all = tableserver::tile::FullSet();
    std::vector<Tile> rest(all.begin(), all.end());
    for (Tile t : ring) {
        auto it = std::find(rest.begin(), rest.end(), t);
        if (it != rest.end())
            rest.erase(it);
    }
    ring.insert(ring.end(), rest.begin(), rest.end());
    ring.resize(136);
    return ring;
}

// A frame as the client's encoder builds it: header words whole, high byte
// first, the echo token in bytes 260-261.
inline protocol::GameFrame ClientFrame(int kind, int seatBit, int b3, std::array<int, 4> data, uint16_t token)
{
    protocol::GameFrame f = proto::Header(kind, static_cast<uint8_t>(seatBit), static_cast<uint8_t>(b3), data);
    proto::SetToken(f, token);
    return f;
}

inline protocol::GameFrame LoginFrame(const std::string& name, int kind = protocol::CmdLogin)
{
    protocol::GameFrame f{};
    f[3] = static_cast<uint8_t>(kind);
    f[14] = 1;
    proto::PutText(f, 16, name, 16);
    proto::PutText(f, 32, "key", 16);
    return f;
}

inline int Kind(const protocol::GameFrame& f) { return f[protocol::frame_byte::Kind]; }
inline int SeatOf(const protocol::GameFrame& f) { return f[protocol::frame_byte::Seat] & 0x0F; }
inline int DataLow(const protocol::GameFrame& f, int i) { return f[static_cast<std::size_t>(9 + 2 * i)]; }
inline int16_t DataSigned(const protocol::GameFrame& f, int i)
{
    return static_cast<int16_t>((f[static_cast<std::size_t>(8 + 2 * i)] << 8) | f[static_cast<std::size_t>(9 + 2 * i)]);
}

// The amount of a hand-result frame, read the way the client reads it.
inline int64_t ResultAmount(const protocol::GameFrame& f)
{
    int64_t a = 0;
    if (f[23] > 0x80) {
        a = 255 - f[23];
        for (int i = 22; i >= 16; --i)
            a = a * 256 + (255 - f[static_cast<std::size_t>(i)]);
        a = -(a + 1);
    } else {
        for (int i = 23; i >= 16; --i)
            a = a * 256 + f[static_cast<std::size_t>(i)];
    }
    return DataLow(f, 1) == 0 ? -a : a;
}

// The final amount of a seat's fourth settlement frame, read the way the
// client reads it (byte 13 zero: negated).
inline int64_t SettlementAmount(const protocol::GameFrame& f)
{
    int64_t a = 0;
    for (int i = 23; i >= 16; --i)
        a = a * 256 + f[static_cast<std::size_t>(i)];
    return f[13] == 0 ? -a : a;
}

inline uint64_t Subtotal(const protocol::GameFrame& f)
{
    uint64_t v = 0;
    for (int i = 85; i >= 78; --i)
        v = v * 256 + f[static_cast<std::size_t>(i)];
    return v;
}

// Plays one human seat of a Table directly, without sockets, the way the
// client does: it keeps the echo token and the turn stamp of the frames it
// is sent, answers its own prompt with a pass and a discard of the newest
// tile, passes on every claim prompt (or claims what `claimOps` allows) and
// gets ready after each hand.
struct SeatPlayer {
    int seat = 0;
    uint16_t token = 0;
    uint8_t stamp = 0;
    std::vector<Tile> hand;
    std::vector<protocol::GameFrame> received;
    int claimOps = 0; // operations this player takes when offered (win, pong ...)
    bool autoReady = true;

    int Bit() const { return 1 << seat; }

    // Takes the frames meant for this seat; returns the frames to send back.
    std::vector<protocol::GameFrame> Receive(const std::vector<tableserver::Outgoing>& out)
    {
        std::vector<protocol::GameFrame> replies;
        for (const auto& o : out) {
            if (o.seat != seat)
                continue;
            const protocol::GameFrame& f = o.frame;
            received.push_back(f);
            if (Kind(f) != protocol::MsgReconnectReply)
                token = proto::TokenOf(f);
            const int k = Kind(f);
            if (k == protocol::MsgDeal) {
                hand.clear();
                for (int i = 0; i < DataLow(f, 1) && i < 12; ++i)
                    hand.push_back(static_cast<Tile>(f[static_cast<std::size_t>(17 + 2 * i)] * 16
                                                     + f[static_cast<std::size_t>(16 + 2 * i)]));
            } else if (k == protocol::MsgDraw && SeatOf(f) == Bit()) {
                hand.push_back(static_cast<Tile>(DataLow(f, 3)));
            } else if (k == protocol::MsgDiscard && SeatOf(f) == Bit()) {
                Remove(static_cast<Tile>(DataLow(f, 3)));
            } else if (k == protocol::MsgOperation && SeatOf(f) == Bit()) {
                const int op = DataLow(f, 0);
                const Tile t1 = static_cast<Tile>(DataLow(f, 1));
                const Tile t2 = static_cast<Tile>(DataLow(f, 2));
                const Tile t3 = static_cast<Tile>(DataLow(f, 3));
                if (op == 4) {
                    Remove(t1);
                    Remove(t2);
                } else if (op == 8) {
                    Remove(t1);
                    Remove(t1);
                } else if (op == 16 || op == 32) {
                    for (int i = 0; i < (op == 16 ? 3 : 4); ++i)
                        Remove(t1);
                } else if (op == 64) {
                    Remove(t3);
                }
            } else if (k == protocol::MsgTurnPrompt && SeatOf(f) == Bit()) {
                stamp = f[protocol::frame_byte::B3];
                const int mask = DataLow(f, 0);
                if (hand.size() % 3 == 2) {
                    if (mask & claimOps & 128) {
                        replies.push_back(ClientFrame(7, Bit(), stamp, {128, 0, 0, 0}, token));
                        continue;
                    }
                    replies.push_back(ClientFrame(7, Bit(), stamp, {1, 0, 0, 0}, token));
                    replies.push_back(ClientFrame(2, Bit(), stamp, {0, 0, 0, (hand.back() & 0xFFF) | 0x4000}, token));
                } else {
                    const int take = mask & claimOps;
                    if (take & 128)
                        replies.push_back(ClientFrame(7, Bit(), stamp, {128, 0, 0, 0}, token));
                    else if (take & 8)
                        replies.push_back(ClientFrame(7, Bit(), stamp, {8, 0, 0, 0}, token));
                    else
                        replies.push_back(ClientFrame(7, Bit(), stamp, {1, 0, 0, 0}, token));
                }
            } else if (k == protocol::MsgSettlement && autoReady) {
                const auto n = std::count_if(received.begin(), received.end(),
                                             [](const protocol::GameFrame& g) { return Kind(g) == protocol::MsgSettlement; });
                if (n % 16 == 0)
                    replies.push_back(ClientFrame(16, Bit(), 0, {0, 0, 0, 1}, token));
            }
        }
        return replies;
    }

    void Remove(Tile t)
    {
        auto it = std::find(hand.begin(), hand.end(), t);
        if (it != hand.end())
            hand.erase(it);
    }

    std::vector<int> Kinds() const
    {
        std::vector<int> k;
        for (const auto& f : received)
            k.push_back(Kind(f));
        return k;
    }
};

// Feeds the table's output to the players and their answers back, until the
// table has nothing more to say.
inline void Pump(tableserver::Table& table, std::vector<SeatPlayer*> players, int64_t now,
                 std::vector<tableserver::Outgoing>* all = nullptr)
{
    for (int round = 0; round < 100000; ++round) {
        table.Advance(now);
        const auto out = table.TakeOutgoing();
        if (all)
            all->insert(all->end(), out.begin(), out.end());
        bool sent = false;
        for (SeatPlayer* p : players)
            for (const auto& f : p->Receive(out)) {
                table.ClientFrame(p->seat, f, now);
                sent = true;
            }
        if (!sent && out.empty())
            return;
    }
}

} // namespace ts_test
