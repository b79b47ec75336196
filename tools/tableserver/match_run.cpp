#include "match_run.h"

#include "protocol/kinds.h"

#include <algorithm>

namespace tableserver {

namespace mp = match_proto;

namespace {

constexpr int64_t kResendMs = 3000;
constexpr int32_t kStartPoints = 1000;

} // namespace

MatchRun::MatchRun(const MatchConfig& config) : config_(config) {}

bool MatchRun::SignedUp(int seat) const
{
    return std::any_of(entrants_.begin(), entrants_.end(), [seat](const MatchEntrant& e) { return e.seat == seat; });
}

std::vector<MatchEntrant> MatchRun::Ranking() const
{
    std::vector<MatchEntrant> r = entrants_;
    std::stable_sort(r.begin(), r.end(), [](const MatchEntrant& a, const MatchEntrant& b) { return a.points > b.points; });
    return r;
}

int MatchRun::PlaceOf(int seat) const
{
    const std::vector<MatchEntrant> r = Ranking();
    for (std::size_t i = 0; i < r.size(); ++i)
        if (r[i].seat == seat)
            return static_cast<int>(i) + 1;
    return 0;
}

void MatchRun::SendWelcomed(const protocol::GameFrame& frame)
{
    for (int seat = 0; seat < 4; ++seat)
        if (welcomed_[static_cast<std::size_t>(seat)])
            out_.push_back({seat, frame});
}

void MatchRun::Welcome(int seat, int64_t now)
{
    if (!config_.on)
        return;
    if (start_ == 0)
        start_ = Clock(now) + config_.signUpSeconds;
    const auto s = static_cast<std::size_t>(seat & 3);
    welcomed_[s] = true;
    resendAt_[s] = now + kResendMs;
    out_.push_back({seat, mp::MatchList({{config_.instanceId, start_, config_.duration, config_.prizeBase}})});
    std::vector<mp::StateEntry> mine;
    if (SignedUp(seat))
        mine.push_back({config_.instanceId, start_, stage_ == Stage::Running});
    out_.push_back({seat, mp::MatchStates(mine)});
    out_.push_back({seat, mp::ServerTime(Clock(now))});
    if (config_.autoSignLead > 0)
        out_.push_back({seat, mp::AutoSignLead(config_.autoSignLead)});
}

bool MatchRun::Command(int seat, const protocol::GameFrame& frame, const std::array<std::string, 4>& nicknames,
                       int64_t now)
{
    if (!config_.on)
        return false;
    const int kind = frame[protocol::frame_byte::Kind];
    if (kind == protocol::CmdTimeRequest) {
        out_.push_back({seat, mp::ServerTime(Clock(now))});
        return true;
    }
    if (kind != protocol::CmdMatchSign && kind != protocol::CmdSortRequest)
        return false;
    const int32_t id = mp::CommandInstance(frame);
    if (kind == protocol::CmdSortRequest) {
        if (id != config_.instanceId || stage_ != Stage::Running)
            return true; // no running session: nothing to rank
        const std::vector<MatchEntrant> r = Ranking();
        for (std::size_t first = 0; first < r.size(); first += 6) {
            std::vector<mp::SortRow> rows;
            for (std::size_t k = first; k < std::min(r.size(), first + 6); ++k)
                rows.push_back({r[k].nickname, r[k].points});
            out_.push_back({seat, mp::MatchSort(id, start_, static_cast<int>(first) + 1, rows)});
        }
        for (const MatchEntrant& e : entrants_)
            if (e.seat == seat)
                out_.push_back({seat, mp::MatchPlace(protocol::MsgMatchSortSummary, id, start_, PlaceOf(seat), e.points)});
        return true;
    }
    // A sign-up.
    if (id != config_.instanceId) {
        out_.push_back({seat, mp::MatchSign(id, start_, false, 0, 0, mp::text::NoSuchMatch)});
        return true;
    }
    if (stage_ == Stage::Running) {
        out_.push_back({seat, mp::MatchSign(id, start_, false, 0, 0, mp::text::AlreadyRunning)});
        return true;
    }
    if (!SignedUp(seat))
        entrants_.push_back({seat, nicknames[static_cast<std::size_t>(seat & 3)], kStartPoints});
    const int count = static_cast<int>(entrants_.size());
    out_.push_back({seat, mp::MatchSign(id, start_, true, count, config_.prizeBase, mp::text::SignedUp)});
    SendWelcomed(mp::MatchSignCount(id, start_, count, config_.prizeBase));
    return true;
}

void MatchRun::Start(const std::array<Seat, 4>& seats, int64_t now)
{
    (void)now;
    stage_ = Stage::Running;
    handsLeft_ = config_.hands;
    for (int seat = 0; seat < 4; ++seat) {
        const Seat& s = seats[static_cast<std::size_t>(seat)];
        if (s.robot && !s.nickname.empty() && !SignedUp(seat))
            entrants_.push_back({seat, s.nickname, kStartPoints});
    }
    SendWelcomed(mp::MatchStartEnd(config_.instanceId, start_, protocol::match_start_end_byte::Started,
                                   mp::text::Started));
    SendPlaces(protocol::MsgMatchSortSummary);
}

void MatchRun::SendPlaces(int kind)
{
    for (const MatchEntrant& e : entrants_)
        if (welcomed_[static_cast<std::size_t>(e.seat & 3)])
            out_.push_back({e.seat, mp::MatchPlace(kind, config_.instanceId, start_, PlaceOf(e.seat), e.points)});
}

void MatchRun::End(int64_t now)
{
    const int32_t ended = start_;
    // The results first: the client takes them while the session is still its current one.
    SendPlaces(protocol::MsgMatchResult);
    SendWelcomed(mp::MatchStartEnd(config_.instanceId, ended, protocol::match_start_end_byte::Ended,
                                   mp::text::Ended));
    start_ = Clock(now) + config_.signUpSeconds;
    SendWelcomed(mp::MatchUpdate(config_.instanceId, start_, config_.duration));
    const std::vector<MatchEntrant> r = Ranking();
    if (!r.empty())
        SendWelcomed(mp::MatchChampion(config_.instanceId, ended, r.front().nickname, mp::text::ChampionPrize));
    entrants_.clear();
    stage_ = Stage::SignUp;
    ++sessions_;
}

void MatchRun::HandEnded(const std::array<std::string, 4>& nicknames, const std::array<int64_t, 4>& gains, int64_t now)
{
    (void)nicknames;
    if (!config_.on || stage_ != Stage::Running)
        return;
    for (MatchEntrant& e : entrants_)
        e.points = static_cast<int32_t>(std::clamp<int64_t>(e.points + gains[static_cast<std::size_t>(e.seat & 3)], 0, 2000000000));
    if (--handsLeft_ > 0) {
        SendPlaces(protocol::MsgMatchSortSummary);
        return;
    }
    End(now);
}

void MatchRun::Advance(const std::array<Seat, 4>& seats, int64_t now)
{
    if (!config_.on)
        return;
    for (int seat = 0; seat < 4; ++seat) {
        int64_t& at = resendAt_[static_cast<std::size_t>(seat)];
        if (at >= 0 && now >= at) {
            at = -1;
            std::vector<mp::StateEntry> mine;
            if (SignedUp(seat))
                mine.push_back({config_.instanceId, start_, stage_ == Stage::Running});
            out_.push_back({seat, mp::MatchStates(mine)});
            out_.push_back({seat, mp::ServerTime(Clock(now))});
        }
    }
    if (stage_ == Stage::SignUp && start_ != 0 && Clock(now) >= start_)
        Start(seats, now);
}

std::optional<int64_t> MatchRun::NextDeadline() const
{
    if (!config_.on)
        return std::nullopt;
    std::optional<int64_t> next;
    for (int64_t at : resendAt_)
        if (at >= 0 && (!next || at < *next))
            next = at;
    if (stage_ == Stage::SignUp && start_ != 0) {
        const int64_t startMs = (static_cast<int64_t>(start_) - config_.epochAtZero) * 1000;
        if (!next || startMs < *next)
            next = startMs;
    }
    return next;
}

std::vector<MatchRun::Out> MatchRun::TakeOutgoing()
{
    std::vector<Out> out;
    out.swap(out_);
    return out;
}

} // namespace tableserver
