#include "match/match_frames.h"

#include "platform/gbk.h"

#include <string>

namespace match {

namespace {

using protocol::GameFrame;
using protocol::kFrameSize;
namespace mf = protocol::match_frame_byte;

uint8_t At(const GameFrame& f, int i) { return f[static_cast<std::size_t>(i)]; }

uint32_t Le32(const GameFrame& f, int at)
{
    return static_cast<uint32_t>(At(f, at)) | static_cast<uint32_t>(At(f, at + 1)) << 8 |
           static_cast<uint32_t>(At(f, at + 2)) << 16 | static_cast<uint32_t>(At(f, at + 3)) << 24;
}

[[noreturn]] void Fault(const char* what, const std::string& detail)
{
    throw MatchFrameFault(std::string(what) + " " + detail);
}

// A field of kinds 47: 0..32767 with its upper two bytes zero.
int16_t ReadSmall32(const GameFrame& f, int at, const char* what)
{
    const uint32_t v = Le32(f, at);
    if (v > 32767)
        Fault(what, std::to_string(v) + " outside 0-32767");
    return static_cast<int16_t>(v);
}

double ReadMagnitude64(const GameFrame& f, int at)
{
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = v << 8 | At(f, at + i);
    return static_cast<double>(v);
}

GoldFrame DecodeGold(const GameFrame& f)
{
    namespace g = protocol::gold_byte;
    GoldFrame out;
    out.magnitude = ReadMagnitude64(f, g::Magnitude);
    out.amount = At(f, g::Sign) == 0 ? out.magnitude : -out.magnitude;
    return out;
}

} // namespace

int32_t ReadField32(const GameFrame& f, int at, const char* what)
{
    const uint32_t v = Le32(f, at);
    if (v > 0x7FFFFFFFu)
        Fault(what, std::to_string(v) + " has its top bit set");
    return static_cast<int32_t>(v);
}

int32_t ReadSigned32(const GameFrame& f, int at) { return static_cast<int32_t>(Le32(f, at)); }

uint16_t ReadUnsigned16(const GameFrame& f, int at)
{
    return static_cast<uint16_t>(At(f, at) | At(f, at + 1) << 8);
}

int16_t ReadCount16(const GameFrame& f, int at, const char* what)
{
    const uint16_t v = ReadUnsigned16(f, at);
    if (v > 32767)
        Fault(what, std::to_string(v) + " outside 0-32767");
    return static_cast<int16_t>(v);
}

QByteArray ReadTextBytes(const GameFrame& f, int start, int last)
{
    QByteArray bytes;
    int pos = start;
    while (pos <= last && pos < kFrameSize) {
        const uint8_t b = At(f, pos);
        if (b == 0)
            break;
        bytes.append(static_cast<char>(b));
        if (b >= 0x80 && pos + 1 < kFrameSize) {
            bytes.append(static_cast<char>(At(f, pos + 1)));
            pos += 2;
        } else {
            ++pos;
        }
    }
    return bytes;
}

QString ReadText(const GameFrame& f, int start, int last) { return platform::gbk::Decode(ReadTextBytes(f, start, last)); }

MatchSignFrame DecodeMatchSign(const GameFrame& f)
{
    namespace b = protocol::match_sign_byte;
    MatchSignFrame out;
    out.id = ReadField32(f, mf::InstanceId, "sign-up id");
    out.time = ReadField32(f, mf::Time, "sign-up time");
    out.confirmed = At(f, b::Confirmed) == 1;
    if (out.confirmed) {
        out.count = ReadCount16(f, b::Count, "sign-up count");
        out.base = ReadField32(f, b::Base, "sign-up prize base");
    }
    out.text = ReadText(f, b::Text, mf::TextLast);
    return out;
}

MatchSignOffFrame DecodeMatchSignOff(const GameFrame& f)
{
    namespace b = protocol::match_sign_off_byte;
    MatchSignOffFrame out;
    out.id = ReadField32(f, mf::InstanceId, "sign-off id");
    out.signedOff = At(f, b::SignedOff) == 1;
    out.text = ReadText(f, b::Text, mf::TextLast);
    return out;
}

std::optional<std::vector<MatchStateEntry>> DecodeMatchStates(const GameFrame& f)
{
    namespace b = protocol::match_states_byte;
    const int n = At(f, b::Count);
    if (n > b::MaxEntries)
        return std::nullopt;
    std::vector<MatchStateEntry> out;
    for (int k = 0; k < n; ++k) {
        const int e = b::Entries + b::EntrySize * k;
        MatchStateEntry entry;
        entry.id = ReadField32(f, e + b::EntryId, "state id");
        entry.time = ReadField32(f, e + b::EntryTime, "state time");
        entry.running = At(f, e + b::EntryState) == b::StateRunning;
        out.push_back(entry);
    }
    return out;
}

MatchStartEndFrame DecodeMatchStartEnd(const GameFrame& f)
{
    namespace b = protocol::match_start_end_byte;
    MatchStartEndFrame out;
    out.id = ReadField32(f, mf::InstanceId, "start/end id");
    out.time = ReadField32(f, mf::Time, "start/end time");
    out.state = At(f, b::State);
    out.text = ReadText(f, b::Text, mf::TextLast);
    return out;
}

MatchPlaceFrame DecodeMatchPlace(const GameFrame& f)
{
    namespace b = protocol::match_place_byte;
    MatchPlaceFrame out;
    out.id = ReadField32(f, mf::InstanceId, "place id");
    out.time = ReadField32(f, mf::Time, "place time");
    const int32_t place = ReadField32(f, b::Place, "place");
    if (place > 32767)
        Fault("place", std::to_string(place) + " above 32767");
    out.place = static_cast<int16_t>(place);
    out.points = ReadField32(f, b::Points, "points");
    return out;
}

MatchSortFrame DecodeMatchSort(const GameFrame& f)
{
    namespace b = protocol::match_sort_byte;
    MatchSortFrame out;
    out.id = ReadField32(f, mf::InstanceId, "ranking id");
    out.time = ReadField32(f, mf::Time, "ranking time");
    out.first = ReadUnsigned16(f, b::FirstPlace);
    const uint16_t n = ReadUnsigned16(f, b::Count);
    if (n > b::MaxRows)
        Fault("ranking rows", std::to_string(n) + " above 6");
    if (n > 0 && out.first + n - 1 > 32767)
        Fault("ranking places", std::to_string(out.first) + "+" + std::to_string(n) + " past 32767");
    for (int k = 0; k < n; ++k) {
        const int r = b::Rows + b::RowSize * k;
        MatchSortRow row;
        row.nickname = ReadText(f, r + b::RowName, r + b::RowNameLast);
        row.points = ReadField32(f, r + b::RowPoints, "ranking points");
        out.rows.push_back(row);
    }
    return out;
}

std::optional<std::vector<MatchListEntry>> DecodeMatchList(const GameFrame& f)
{
    namespace b = protocol::match_list_byte;
    const int n = At(f, b::Count);
    if (n > b::MaxEntries)
        return std::nullopt;
    std::vector<MatchListEntry> out;
    for (int k = 0; k < n; ++k) {
        const int e = b::Entries + b::EntrySize * k;
        MatchListEntry entry;
        entry.id = ReadField32(f, e + b::EntryId, "list id");
        entry.start = ReadSigned32(f, e + b::EntryStart);
        entry.duration = ReadField32(f, e + b::EntryDuration, "list duration");
        entry.base = ReadCount16(f, e + b::EntryBase, "list prize base");
        out.push_back(entry);
    }
    return out;
}

MatchUpdateFrame DecodeMatchUpdate(const GameFrame& f)
{
    namespace b = protocol::match_update_byte;
    MatchUpdateFrame out;
    out.id = ReadField32(f, mf::InstanceId, "update id");
    out.start = ReadSigned32(f, b::Start);
    out.duration = ReadField32(f, b::Duration, "update duration");
    return out;
}

MatchSignCountFrame DecodeMatchSignCount(const GameFrame& f)
{
    namespace b = protocol::match_sign_count_byte;
    MatchSignCountFrame out;
    out.id = ReadField32(f, mf::InstanceId, "sign count id");
    out.time = ReadField32(f, mf::Time, "sign count time");
    out.count = ReadCount16(f, b::Count, "sign count");
    out.base = ReadField32(f, b::Base, "sign count prize base");
    return out;
}

MatchPrizeBaseFrame DecodeMatchPrizeBase(const GameFrame& f)
{
    MatchPrizeBaseFrame out;
    out.id = ReadField32(f, mf::InstanceId, "prize base id");
    out.time = ReadField32(f, mf::Time, "prize base time");
    out.base = ReadField32(f, protocol::match_prize_base_byte::Base, "prize base");
    return out;
}

MatchChampionFrame DecodeMatchChampion(const GameFrame& f)
{
    namespace b = protocol::match_champion_byte;
    MatchChampionFrame out;
    out.id = ReadField32(f, mf::InstanceId, "champion id");
    out.time = ReadField32(f, mf::Time, "champion time");
    out.name = ReadText(f, b::Name, b::NameLast);
    out.prize = ReadText(f, b::Prize, mf::TextLast);
    return out;
}

GoldFrame DecodeGoldChange(const GameFrame& f)
{
    GoldFrame out = DecodeGold(f);
    out.text = ReadText(f, protocol::gold_byte::Text, mf::TextLast);
    return out;
}

GoldFrame DecodeSeatGoldChange(const GameFrame& f)
{
    namespace g = protocol::gold_byte;
    GoldFrame out = DecodeGold(f);
    out.account = ReadTextBytes(f, g::Account, g::AccountLast);
    return out;
}

MatchStandingsFrame DecodeMatchStandings(const GameFrame& f)
{
    namespace b = protocol::match_standings_byte;
    MatchStandingsFrame out;
    out.idNum = ReadSmall32(f, b::IdNum, "table number");
    ReadSmall32(f, b::Unused, "standings field");
    const int16_t n = ReadSmall32(f, b::Count, "standings count");
    if (n > b::MaxEntries)
        Fault("standings count", std::to_string(n) + " above 4");
    for (int k = 0; k < n; ++k) {
        const int e = b::Entries + b::EntrySize * k;
        StandingEntry entry;
        entry.username = ReadText(f, e + b::EntryName, e + b::EntryNameLast);
        entry.match_score = ReadField32(f, e + b::EntryScore, "standings score");
        entry.match_sort = ReadField32(f, e + b::EntrySort, "standings place");
        out.entries.push_back(entry);
    }
    return out;
}

} // namespace match
