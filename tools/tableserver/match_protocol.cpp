#include "match_protocol.h"

#include "protocol/kinds.h"

#include <algorithm>

namespace tableserver::match_proto {

namespace {

namespace mf = protocol::match_frame_byte;

GameFrame Frame(int kind)
{
    GameFrame f{};
    f[protocol::frame_byte::Kind] = static_cast<uint8_t>(kind);
    return f;
}

void Put(GameFrame& f, int at, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        f[static_cast<std::size_t>(at + i)] = static_cast<uint8_t>(value >> (8 * i));
}

void PutText(GameFrame& f, int at, int last, const std::string& bytes)
{
    const int n = std::min<int>(static_cast<int>(bytes.size()), last - at + 1);
    std::copy_n(bytes.begin(), n, f.begin() + at);
}

void PutIdTime(GameFrame& f, int32_t id, int32_t time)
{
    Put(f, mf::InstanceId, static_cast<uint32_t>(id), 4);
    Put(f, mf::Time, static_cast<uint32_t>(time), 4);
}

} // namespace

namespace text {
const std::string NoSuchMatch = "\xC3\xBB\xD3\xD0\xD5\xE2\xB3\xA1\xB1\xC8\xC8\xFC";
const std::string AlreadyRunning = "\xB1\xC8\xC8\xFC\xD2\xD1\xBE\xAD\xBF\xAA\xCA\xBC\xA3\xAC\xC7\xEB\xB1\xA8\xC3\xFB\xCF\xC2\xD2\xBB\xB3\xA1";
const std::string SignedUp = "\xB1\xA8\xC3\xFB\xB3\xC9\xB9\xA6\xA3\xAC\xC7\xEB\xD7\xBC\xCA\xB1\xB2\xCE\xC8\xFC";
const std::string Started = "\xB1\xC8\xC8\xFC\xBF\xAA\xCA\xBC\xC1\xCB\xA3\xAC\xD7\xA3\xC4\xFA\xBA\xC3\xD4\xCB\xA3\xA1";
const std::string Ended = "\xB1\xBE\xB3\xA1\xB1\xC8\xC8\xFC\xD2\xD1\xBE\xAD\xBD\xE1\xCA\xF8\xA1\xA3";
const std::string ChampionPrize = "\x32\x30\x30\x30\xBD\xF0\xB1\xD2";
} // namespace text

GameFrame MatchSign(int32_t id, int32_t time, bool confirmed, int count, int32_t base, const std::string& text)
{
    namespace b = protocol::match_sign_byte;
    GameFrame f = Frame(protocol::MsgMatchSign);
    PutIdTime(f, id, time);
    f[b::Confirmed] = confirmed ? 1 : 0;
    Put(f, b::Count, static_cast<uint16_t>(count), 2);
    Put(f, b::Base, static_cast<uint32_t>(base), 4);
    PutText(f, b::Text, mf::TextLast, text);
    return f;
}

GameFrame MatchStates(const std::vector<StateEntry>& entries)
{
    namespace b = protocol::match_states_byte;
    GameFrame f = Frame(protocol::MsgMatchStates);
    const int n = std::min<int>(static_cast<int>(entries.size()), b::MaxEntries);
    f[b::Count] = static_cast<uint8_t>(n);
    for (int k = 0; k < n; ++k) {
        const int e = b::Entries + b::EntrySize * k;
        Put(f, e + b::EntryId, static_cast<uint32_t>(entries[static_cast<std::size_t>(k)].id), 4);
        Put(f, e + b::EntryTime, static_cast<uint32_t>(entries[static_cast<std::size_t>(k)].time), 4);
        f[static_cast<std::size_t>(e + b::EntryState)] = entries[static_cast<std::size_t>(k)].running ? b::StateRunning : 0;
    }
    return f;
}

GameFrame MatchStartEnd(int32_t id, int32_t time, int state, const std::string& text)
{
    namespace b = protocol::match_start_end_byte;
    GameFrame f = Frame(protocol::MsgMatchStartEnd);
    PutIdTime(f, id, time);
    f[b::State] = static_cast<uint8_t>(state);
    PutText(f, b::Text, mf::TextLast, text);
    return f;
}

GameFrame MatchPlace(int kind, int32_t id, int32_t time, int place, int32_t points)
{
    namespace b = protocol::match_place_byte;
    GameFrame f = Frame(kind);
    PutIdTime(f, id, time);
    Put(f, b::Place, static_cast<uint32_t>(place), 4);
    Put(f, b::Points, static_cast<uint32_t>(std::max(0, points)), 4);
    return f;
}

GameFrame MatchSort(int32_t id, int32_t time, int firstPlace, const std::vector<SortRow>& rows)
{
    namespace b = protocol::match_sort_byte;
    GameFrame f = Frame(protocol::MsgMatchSort);
    PutIdTime(f, id, time);
    const int n = std::min<int>(static_cast<int>(rows.size()), b::MaxRows);
    Put(f, b::FirstPlace, static_cast<uint16_t>(firstPlace), 2);
    Put(f, b::Count, static_cast<uint16_t>(n), 2);
    for (int k = 0; k < n; ++k) {
        const int r = b::Rows + b::RowSize * k;
        PutText(f, r + b::RowName, r + b::RowNameLast, rows[static_cast<std::size_t>(k)].nickname);
        Put(f, r + b::RowPoints, static_cast<uint32_t>(std::max(0, rows[static_cast<std::size_t>(k)].points)), 4);
    }
    return f;
}

GameFrame ServerTime(int32_t time)
{
    GameFrame f = Frame(protocol::MsgServerTime);
    Put(f, protocol::server_time_byte::Time, static_cast<uint32_t>(time), 4);
    return f;
}

GameFrame MatchList(const std::vector<ListEntry>& entries)
{
    namespace b = protocol::match_list_byte;
    GameFrame f = Frame(protocol::MsgMatchList);
    const int n = std::min<int>(static_cast<int>(entries.size()), b::MaxEntries);
    f[b::Count] = static_cast<uint8_t>(n);
    for (int k = 0; k < n; ++k) {
        const ListEntry& e = entries[static_cast<std::size_t>(k)];
        const int at = b::Entries + b::EntrySize * k;
        Put(f, at + b::EntryId, static_cast<uint32_t>(e.id), 4);
        Put(f, at + b::EntryStart, static_cast<uint32_t>(e.start), 4);
        Put(f, at + b::EntryDuration, static_cast<uint32_t>(e.duration), 4);
        Put(f, at + b::EntryBase, static_cast<uint16_t>(e.base), 2);
    }
    return f;
}

GameFrame MatchUpdate(int32_t id, int32_t start, int32_t duration)
{
    namespace b = protocol::match_update_byte;
    GameFrame f = Frame(protocol::MsgMatchUpdate);
    Put(f, mf::InstanceId, static_cast<uint32_t>(id), 4);
    Put(f, b::Start, static_cast<uint32_t>(start), 4);
    Put(f, b::Duration, static_cast<uint32_t>(duration), 4);
    return f;
}

GameFrame MatchSignCount(int32_t id, int32_t time, int count, int32_t base)
{
    namespace b = protocol::match_sign_count_byte;
    GameFrame f = Frame(protocol::MsgMatchSignCount);
    PutIdTime(f, id, time);
    Put(f, b::Count, static_cast<uint16_t>(count), 2);
    Put(f, b::Base, static_cast<uint32_t>(base), 4);
    return f;
}

GameFrame MatchChampion(int32_t id, int32_t time, const std::string& name, const std::string& prize)
{
    namespace b = protocol::match_champion_byte;
    GameFrame f = Frame(protocol::MsgMatchChampion);
    PutIdTime(f, id, time);
    PutText(f, b::Name, b::NameLast, name);
    PutText(f, b::Prize, mf::TextLast, prize);
    return f;
}

GameFrame Marquee(const std::string& text)
{
    GameFrame f = Frame(protocol::MsgMarquee);
    PutText(f, protocol::marquee_byte::Text, mf::TextLast, text);
    return f;
}

GameFrame AutoSignLead(int32_t seconds)
{
    GameFrame f = Frame(protocol::MsgAutoSignLead);
    Put(f, protocol::auto_sign_byte::Lead, static_cast<uint32_t>(seconds), 4);
    return f;
}

int32_t CommandInstance(const GameFrame& f)
{
    const int at = protocol::match_cmd_byte::InstanceId;
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | f[static_cast<std::size_t>(at + i)];
    return static_cast<int32_t>(v);
}

} // namespace tableserver::match_proto
