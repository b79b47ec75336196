#pragma once

#include "protocol/frame.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <vector>

// Readers of the received match frames: each turns the bytes of one kind
// into plain values and checks them on the way. They never read past the
// frame's last byte. A value outside its range throws MatchFrameFault, which
// the dispatcher answers with its failure path; a count that would overrun
// the frame makes the reader return nothing, and the frame is dropped.

namespace match {

class MatchFrameFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A 32-bit little-endian field that must lie in 0..2147483647.
int32_t ReadField32(const protocol::GameFrame& f, int at, const char* what);
// A 32-bit little-endian field read as a signed number.
int32_t ReadSigned32(const protocol::GameFrame& f, int at);
// A 16-bit little-endian count that must lie in 0..32767.
int16_t ReadCount16(const protocol::GameFrame& f, int at, const char* what);
uint16_t ReadUnsigned16(const protocol::GameFrame& f, int at);

// The GBK bytes of a text from `start` to `last` at most: a NUL where a
// character would start ends it, a lead byte takes the byte after it even
// past `last` (never past the frame).
QByteArray ReadTextBytes(const protocol::GameFrame& f, int start, int last);
QString ReadText(const protocol::GameFrame& f, int start, int last);

// Kind 72.
struct MatchSignFrame {
    int32_t id = 0;
    int32_t time = 0;
    bool confirmed = false;
    int16_t count = 0; // read only when confirmed
    int32_t base = 0;  // read only when confirmed
    QString text;
};
MatchSignFrame DecodeMatchSign(const protocol::GameFrame& f);

// Kind 73.
struct MatchSignOffFrame {
    int32_t id = 0;
    bool signedOff = false;
    QString text;
};
MatchSignOffFrame DecodeMatchSignOff(const protocol::GameFrame& f);

// Kind 74: nothing when it announces more entries than fit.
struct MatchStateEntry {
    int32_t id = 0;
    int32_t time = 0;
    bool running = false;
};
std::optional<std::vector<MatchStateEntry>> DecodeMatchStates(const protocol::GameFrame& f);

// Kind 75.
struct MatchStartEndFrame {
    int32_t id = 0;
    int32_t time = 0;
    uint8_t state = 0;
    QString text;
};
MatchStartEndFrame DecodeMatchStartEnd(const protocol::GameFrame& f);

// Kinds 77 and 78.
struct MatchPlaceFrame {
    int32_t id = 0;
    int32_t time = 0;
    int16_t place = 0;
    int32_t points = 0;
};
MatchPlaceFrame DecodeMatchPlace(const protocol::GameFrame& f);

// Kind 79. A frame of more than six rows, or whose rows reach past place
// 32767, is malformed.
struct MatchSortRow {
    QString nickname;
    int32_t points = 0;
};
struct MatchSortFrame {
    int32_t id = 0;
    int32_t time = 0;
    uint16_t first = 0;
    std::vector<MatchSortRow> rows;
};
MatchSortFrame DecodeMatchSort(const protocol::GameFrame& f);

// Kind 82: nothing when byte 16 announces more entries than fit. A start
// with its top bit set is none (-1).
struct MatchListEntry {
    int32_t id = 0;
    int32_t start = -1;
    int32_t duration = 0;
    int16_t base = 0;
};
std::optional<std::vector<MatchListEntry>> DecodeMatchList(const protocol::GameFrame& f);

// Kind 83.
struct MatchUpdateFrame {
    int32_t id = 0;
    int32_t start = -1; // negative: no next session
    int32_t duration = 0;
};
MatchUpdateFrame DecodeMatchUpdate(const protocol::GameFrame& f);

// Kind 87.
struct MatchSignCountFrame {
    int32_t id = 0;
    int32_t time = 0;
    int16_t count = 0;
    int32_t base = 0;
};
MatchSignCountFrame DecodeMatchSignCount(const protocol::GameFrame& f);

// Kind 88.
struct MatchPrizeBaseFrame {
    int32_t id = 0;
    int32_t time = 0;
    int32_t base = 0;
};
MatchPrizeBaseFrame DecodeMatchPrizeBase(const protocol::GameFrame& f);

// Kind 89.
struct MatchChampionFrame {
    int32_t id = 0;
    int32_t time = 0;
    QString name;
    QString prize;
};
MatchChampionFrame DecodeMatchChampion(const protocol::GameFrame& f);

// Kinds 91 and 92: the signed amount; the magnitude as a Double.
struct GoldFrame {
    double amount = 0;    // negative when taken away
    double magnitude = 0; // its absolute value
    QString text;         // kind 91: the message
    QByteArray account;   // kind 92: the account as the frame carries it
};
GoldFrame DecodeGoldChange(const protocol::GameFrame& f);
GoldFrame DecodeSeatGoldChange(const protocol::GameFrame& f);

// Kind 47.
struct StandingEntry {
    QString username;
    int32_t match_score = 0;
    int32_t match_sort = 0;
};
struct MatchStandingsFrame {
    int16_t idNum = 0;
    std::vector<StandingEntry> entries;
};
MatchStandingsFrame DecodeMatchStandings(const protocol::GameFrame& f);

} // namespace match
