#include "table.h"

#include "hand_eval.h"
#include "robot.h"

#include <algorithm>

namespace tableserver {

namespace {

// Avatars, sexes and names of the robots by seat.
struct RobotLook {
    const char* avatar;
    int sex;
};
constexpr RobotLook kRobotLooks[4] = {{"m2", 1}, {"w3", 0}, {"m4", 1}, {"w5", 0}};

} // namespace

Table::Table(const TableConfig& config)
    : config_(config),
      rng_(config.seed),
      robotRng_(config.seed ^ 0x5DEECE66Dull),
      idRng_(config.seed * 0x9E3779B97F4A7C15ull + 7),
      chatRng_(config.seed ^ 0xC4A7ull)
{
}

bool Table::Listening(int seat) const
{
    const Seat& s = seats_[Idx(seat)];
    return s.control == Control::Human && s.connected;
}

bool Table::RobotPlays(int seat) const
{
    const Seat& s = seats_[Idx(seat)];
    return s.control == Control::Robot || (s.control == Control::Human && !s.connected);
}

bool Table::AnyHumanConnected() const
{
    return std::any_of(seats_.begin(), seats_.end(),
                       [](const Seat& s) { return s.control == Control::Human && s.connected; });
}

bool Table::AnyWatcher() const
{
    return std::any_of(watchers_.begin(), watchers_.end(), [](const Watcher& w) { return w.connected; });
}

bool Table::AnyoneThere() const { return AnyHumanConnected() || AnyWatcher(); }

bool Table::AnyHuman() const
{
    return std::any_of(seats_.begin(), seats_.end(), [](const Seat& s) { return s.control == Control::Human; });
}

void Table::Send(int seat, protocol::GameFrame frame)
{
    Seat& s = S(seat);
    if (s.control != Control::Human)
        return;
    // A lost client's frames are stamped and kept all the same, so that it
    // can be given them when it comes back.
    s.channel.Stamp(frame);
    if (s.connected)
        Emit(seat, frame);
}

void Table::SendAll(const protocol::GameFrame& frame)
{
    for (int seat = 0; seat < 4; ++seat)
        Send(seat, frame);
    SendWatchers(frame);
}

void Table::SendWatcher(int watcher, protocol::GameFrame frame)
{
    Watcher& w = watchers_[static_cast<std::size_t>(watcher - kFirstWatcher)];
    if (!w.connected)
        return;
    w.channel.Stamp(frame);
    Emit(watcher, frame);
}

void Table::SendWatchers(const protocol::GameFrame& frame)
{
    for (std::size_t k = 0; k < watchers_.size(); ++k)
        SendWatcher(kFirstWatcher + static_cast<int>(k), frame);
}

void Table::SeatWatcher(int watcher)
{
    // A spectator finds the seat it watches among the records by user id.
    for (int seat = 0; seat < 4; ++seat)
        SendWatcher(watcher, proto::UserInfo(S(seat).user, proto::SeatBit(seat)));
}

void Table::SendSnapshot(int watcher)
{
    SendWatcher(watcher, proto::RoundSnapshot(banker_, dice_[0] + dice_[1], dice_[2] + dice_[3], wild_, indicator_));
    SeatWatcher(watcher);
    const int out = tile::Count - wall_.Remaining();
    for (int seat = 0; seat < 4; ++seat) {
        const SeatHand& h = S(seat).hand;
        std::vector<Tile> laid = h.specials;
        for (const Meld& m : h.melds) {
            laid.insert(laid.end(), m.tiles.begin(), m.tiles.end());
            if (m.kind == MeldKind::ExposedKong || m.kind == MeldKind::ConcealedKong)
                laid.push_back(m.tiles[0]);
        }
        SendWatcher(watcher, proto::SeatSnapshot(seat, h.rowDiscards, out, 135 - tailDraws_, laid, h.concealed));
    }
}

void Table::EmitMatch()
{
    for (const MatchRun::Out& o : match_.TakeOutgoing())
        if (Listening(o.seat))
            Emit(o.seat, o.frame);
}

std::array<std::string, 4> Table::Nicknames() const
{
    std::array<std::string, 4> names;
    for (std::size_t i = 0; i < 4; ++i)
        names[i] = seats_[i].control == Control::Empty ? std::string() : seats_[i].user.nickname;
    return names;
}

void Table::AnnounceMatchInfo(int number)
{
    // Match frames carry no echo token: the frame goes out as it is.
    const TableConfig::MatchInfo& m = config_.matchInfo;
    if (!m.url.empty())
        Emit(number, proto::MatchInfoUrl(m.md5, m.url, m.region, m.reserve));
}

int Table::Watch(int64_t now)
{
    Watcher w;
    w.channel = EchoChannel(idRng_.Next());
    watchers_.push_back(w);
    const int number = kFirstWatcher + static_cast<int>(watchers_.size()) - 1;
    SendWatcher(number, proto::LoginReply(protocol::LoginAccepted, 0, 8));
    AnnounceMatchInfo(number);
    Tell(number, "a spectator watches");
    if (phase_ == Phase::Waiting && !startAt_)
        startAt_ = now + config_.robotWaitMs;
    if (phase_ == Phase::Playing)
        SendSnapshot(number);
    else if (phase_ == Phase::BetweenHands)
        SeatWatcher(number);
    return number;
}

void Table::WatcherGone(int watcher)
{
    const auto k = static_cast<std::size_t>(watcher - kFirstWatcher);
    if (watcher >= kFirstWatcher && k < watchers_.size())
        watchers_[k].connected = false;
    if (phase_ == Phase::Waiting && !AnyHuman() && !AnyWatcher())
        startAt_.reset();
}

void Table::Refuse(int seat, const protocol::GameFrame& frame, const std::string& why)
{
    Tell(seat, "refused kind=" + std::to_string(frame[protocol::frame_byte::Kind]) + " reason=" + why);
}

uint8_t Table::NextStamp()
{
    stampCounter_ = static_cast<uint8_t>(stampCounter_ + 1);
    if (stampCounter_ == 0)
        stampCounter_ = 1;
    return stampCounter_;
}

int64_t Table::DecisionTime(int seat, int64_t now) const
{
    if (RobotPlays(seat))
        return now + config_.robotDelayMs;
    return now + static_cast<int64_t>(config_.countdownSeconds) * 1000 + config_.graceMs;
}

// ---------------------------------------------------------------- sessions

Table::LoginResult Table::Login(const std::string& name, int64_t now)
{
    LoginResult r;
    auto refuse = [&](int result) {
        r.result = result;
        r.refusal = proto::LoginReply(result, 0, 0);
        return r;
    };
    if (name.empty())
        return refuse(protocol::LoginAccountRefused);
    if (phase_ != Phase::Waiting)
        return refuse(protocol::LoginTableNotStarted);
    for (const Seat& s : seats_)
        if (s.control == Control::Human && s.name == name)
            return refuse(protocol::LoginAccountRefused);
    int seat = -1;
    for (int i = 0; i < 4 && seat < 0; ++i)
        if (seats_[Idx(i)].control == Control::Empty)
            seat = i;
    if (seat < 0)
        return refuse(protocol::LoginTableNotStarted);

    Seat& s = S(seat);
    s = Seat{};
    s.control = Control::Human;
    s.connected = true;
    s.name = name;
    s.coins = config_.startCoins;
    s.channel = EchoChannel(idRng_.Next());
    s.user.account = name;
    s.user.nickname = name;
    s.user.avatar = "m1";
    s.user.sex = 1;
    s.user.level = proto::text::Novice;
    s.user.title = proto::text::Player;
    s.user.userId = 1000 + static_cast<uint64_t>(seat);
    if (!startAt_)
        startAt_ = now + config_.robotWaitMs;
    Send(seat, proto::LoginReply(protocol::LoginAccepted, 0, 8));
    AnnounceMatchInfo(seat);
    match_.Welcome(seat, now);
    EmitMatch();
    if (config_.wallet.on) {
        s.wallet = FreshWallet(config_.wallet);
        Emit(seat, proto::Bag(s.wallet));
    }
    r.seat = seat;
    return r;
}

int Table::Reconnect(uint32_t id, uint16_t token, int64_t now)
{
    if (id == 0 || phase_ == Phase::Waiting || phase_ == Phase::Finished)
        return -1;
    for (int seat = 0; seat < 4; ++seat) {
        Seat& s = S(seat);
        if (s.control != Control::Human || s.reconnectId != id)
            continue;
        s.connected = true;
        Tell(seat, "reconnected");
        // The reply carries no echo token: the client does not take one from it.
        Emit(seat, proto::ReconnectReply(true));
        for (const protocol::GameFrame& f : s.channel.FramesAfter(token))
            Emit(seat, f);
        Pending& p = pending_[Idx(seat)];
        if (p.open && !p.answered)
            p.actAt = std::max(p.actAt, DecisionTime(seat, now));
        return seat;
    }
    return -1;
}

void Table::ConnectionLost(int seat, int64_t now)
{
    Seat& s = S(seat);
    if (s.control != Control::Human)
        return;
    if (phase_ == Phase::Waiting) {
        s = Seat{};
        if (!AnyHuman())
            startAt_.reset();
        return;
    }
    s.connected = false;
    if (phase_ == Phase::Finished)
        return;
    Tell(seat, "connection lost; the server plays this seat until it comes back");
    Pending& p = pending_[Idx(seat)];
    if (p.open && !p.answered)
        p.actAt = std::min(p.actAt, now + config_.robotDelayMs);
    if (phase_ == Phase::BetweenHands && !s.ready)
        s.readyAt = std::min(s.readyAt, now + config_.robotDelayMs);
}

void Table::Leave(int seat, int64_t now)
{
    Seat& s = S(seat);
    if (phase_ == Phase::Waiting) {
        s = Seat{};
        if (!AnyHuman())
            startAt_.reset();
        return;
    }
    // The seat keeps its name on the other clients' tables and plays on as a
    // robot; its reconnect id is void.
    s.control = Control::Robot;
    s.connected = false;
    s.reconnectId = 0;
    Tell(seat, "left the table; a robot takes the seat");
    if (!AnyHuman()) {
        ResetToWaiting();
        return;
    }
    Pending& p = pending_[Idx(seat)];
    if (p.open && !p.answered)
        p.actAt = std::min(p.actAt, now + config_.robotDelayMs);
    if (phase_ == Phase::BetweenHands && !s.ready)
        s.readyAt = std::min(s.readyAt, now + config_.robotDelayMs);
}

void Table::ResetToWaiting()
{
    Tell(-1, "no player left; the table waits for logins");
    for (Seat& s : seats_)
        s = Seat{};
    phase_ = Phase::Waiting;
    startAt_.reset();
    await_ = Await::None;
    pending_ = {};
    handsPlayed_ = 0;
}

// ---------------------------------------------------------------- frames

void Table::ClientFrame(int seat, const protocol::GameFrame& frame, int64_t now)
{
    const proto::ClientFrame c = proto::Decode(frame);
    Seat& s = S(seat);
    if (s.control != Control::Human)
        return;

    // The leave frame is the one frame that carries no echo token.
    if (proto::IsLeave(frame)) {
        Leave(seat, now);
        return;
    }
    if (!s.channel.Knows(c.token)) {
        Refuse(seat, frame, "unknown echo token");
        return;
    }

    if (match_.Command(seat, frame, Nicknames(), now)) {
        EmitMatch();
        return;
    }
    switch (c.kind) {
    case protocol::CmdKeepAlive:
        return;
    case protocol::CmdChat:
        OnChat(seat, frame);
        return;
    case protocol::CmdGoods:
        OnGoods(seat, frame);
        return;
    case protocol::CmdPrizeLists:
        OnPrizeLists(seat, frame);
        return;
    case protocol::CmdPrizePool:
        OnPrizePool(seat, frame);
        return;
    case protocol::CmdReady:
        if (!proto::IsReady(frame))
            Refuse(seat, frame, "unknown table status");
        else if (phase_ == Phase::BetweenHands)
            MarkReady(seat, now);
        else
            Refuse(seat, frame, "no hand to get ready for");
        return;
    case protocol::CmdDiscard:
    case protocol::CmdOperation: {
        if ((c.seatByte & 0x0F) != proto::SeatBit(seat)) {
            Refuse(seat, frame, "wrong seat");
            return;
        }
        const Pending& p = pending_[Idx(seat)];
        if (phase_ != Phase::Playing || !p.open || p.answered) {
            Refuse(seat, frame, "not this seat's turn");
            return;
        }
        if (c.b3 != p.stamp) {
            Refuse(seat, frame, "stale turn stamp");
            return;
        }
        if (await_ == Await::Turn && seat == turnSeat_)
            OnTurnFrame(seat, c, frame, now);
        else if (await_ == Await::Claims)
            OnClaimFrame(seat, c, frame);
        else
            Refuse(seat, frame, "not this seat's turn");
        Advance(now);
        return;
    }
    default:
        Tell(seat, "ignored kind=" + std::to_string(c.kind));
        return;
    }
}

void Table::OnChat(int seat, const protocol::GameFrame& f)
{
    const proto::ClientFrame c = proto::Decode(f);
    const protocol::GameFrame relay = proto::ChatRelay(f, seat);
    const int target = c.data[1] & 0x0F;
    for (int to = 0; to < 4; ++to) {
        // A whisper goes to its target and back to its sender; a line to
        // everybody at the table, the sender included.
        if (target != 0 && to != seat && proto::SeatBit(to) != target)
            continue;
        Send(to, relay);
    }
    // Now and then a robot answers a player's line to the table with a
    // quick phrase.
    if (target != 0 || S(seat).control != Control::Human || chatRng_.Below(3) != 0)
        return;
    std::vector<int> robots;
    for (int to = 0; to < 4; ++to)
        if (S(to).control == Control::Robot)
            robots.push_back(to);
    if (robots.empty())
        return;
    const int robot = robots[static_cast<std::size_t>(chatRng_.Below(static_cast<int>(robots.size())))];
    const protocol::GameFrame answer =
        proto::RobotPhrase(robot, S(robot).user.nickname, S(robot).name, chatRng_.Below(proto::kRobotPhrases));
    for (int to = 0; to < 4; ++to)
        Send(to, answer);
}

void Table::OnTurnFrame(int seat, const proto::ClientFrame& c, const protocol::GameFrame& f, int64_t now)
{
    Pending& p = pending_[Idx(seat)];
    SeatHand& h = S(seat).hand;
    if (c.kind == protocol::CmdDiscard) {
        const Tile t = proto::WordTile(c.data[3]);
        if (!h.Holds(t)) {
            Refuse(seat, f, "tile not in hand");
            return;
        }
        const bool inside = !(h.drawn != 0 && t == h.drawn && (c.data[1] & 0xFF) == 0);
        Discard(seat, t, inside, now);
        return;
    }
    const int operation = c.data[0] & 0xFF;
    switch (operation) {
    case protocol::OpPass:
        // Declines the offered win or kongs; the discard is still due.
        p.mask = 0;
        return;
    case protocol::OpWin:
        if (!(p.mask & protocol::OpWin)) {
            Refuse(seat, f, "win not offered");
            return;
        }
        if (p.falseWin)
            FalseWin(seat, now);
        else
            Win(seat, -1, now);
        return;
    case protocol::OpConcealedKong: {
        const Tile t = proto::WordTile(c.data[1]);
        const auto kongs = ConcealedKongTiles(h, wild_);
        if (!(p.mask & protocol::OpConcealedKong) || std::find(kongs.begin(), kongs.end(), t) == kongs.end()) {
            Refuse(seat, f, "no such concealed kong");
            return;
        }
        ConcealedKong(seat, t, now);
        return;
    }
    case protocol::OpSpecialKong: {
        const Tile t = proto::WordTile(c.data[3]);
        const auto kongs = SingleKongTiles(h, wild_);
        if (!(p.mask & protocol::OpSpecialKong) || std::find(kongs.begin(), kongs.end(), t) == kongs.end()) {
            Refuse(seat, f, "no such single-tile kong");
            return;
        }
        SingleKong(seat, t, now);
        return;
    }
    default:
        Refuse(seat, f, "operation not offered");
        return;
    }
}

void Table::OnClaimFrame(int seat, const proto::ClientFrame& c, const protocol::GameFrame& f)
{
    if (c.kind != protocol::CmdOperation) {
        Refuse(seat, f, "no discard due");
        return;
    }
    Pending& p = pending_[Idx(seat)];
    const SeatHand& h = S(seat).hand;
    const int operation = c.data[0] & 0xFF;
    Claim claim;
    claim.seat = seat;
    claim.op = operation;
    const Tile t = lastDiscard_;
    switch (operation) {
    case protocol::OpPass:
        break;
    case protocol::OpWin:
        if (!(p.mask & protocol::OpWin)) {
            Refuse(seat, f, "win not offered");
            return;
        }
        if (p.falseWin) {
            // Told to everyone; the claim counts as a pass.
            SendAll(proto::Operation(seat, protocol::OpFalseWin, {0, 0, 0}));
            claim.op = protocol::OpPass;
        }
        break;
    case protocol::OpPong:
    case protocol::OpExposedKong:
        if (!(p.mask & operation)) {
            Refuse(seat, f, "operation not offered");
            return;
        }
        claim.tiles = {t, t, t};
        break;
    case protocol::OpChow: {
        const Tile a = proto::WordTile(c.data[1]);
        const Tile b = proto::WordTile(c.data[2]);
        const bool ok = (p.mask & protocol::OpChow) && proto::WordTile(c.data[3]) == t && a != wild_ && b != wild_
            && h.Holds(a) && h.Holds(b) && a != b && IsRun(a, b, t);
        if (!ok) {
            Refuse(seat, f, "no such chow");
            return;
        }
        claim.tiles = {a, b, t};
        break;
    }
    default:
        Refuse(seat, f, "operation not offered");
        return;
    }
    p.answered = true;
    p.claim = claim;
}

// ---------------------------------------------------------------- the game

void Table::StartGame(int64_t now)
{
    int robot = 0;
    for (int seat = 0; seat < 4; ++seat) {
        Seat& s = S(seat);
        if (s.control == Control::Empty) {
            ++robot;
            s.control = Control::Robot;
            s.name = "robot" + std::to_string(robot);
            s.coins = config_.startCoins;
            s.user.account = s.name;
            s.user.nickname = proto::text::Robot + std::to_string(robot);
            s.user.avatar = kRobotLooks[seat].avatar;
            s.user.sex = kRobotLooks[seat].sex;
            s.user.level = proto::text::Novice;
            s.user.title = proto::text::Player;
            s.user.userId = 1000 + static_cast<uint64_t>(seat);
            s.user.vipLevel = robot; // so that their membership badges show
        }
        s.user.coins = static_cast<uint64_t>(s.coins);
        if (s.control == Control::Human) {
            do {
                s.reconnectId = static_cast<uint32_t>(idRng_.Next() & 0x7FFFFFFF);
            } while (s.reconnectId == 0);
        }
    }
    Tell(-1, "game starts");
    phase_ = Phase::Playing;
    banker_ = 0;

    // Seating: the four names and the four user records (the receiver's own
    // one marked as its own). The start of the game follows with the hand.
    for (int to = 0; to < 4; ++to) {
        if (S(to).control != Control::Human)
            continue;
        for (int seat = 0; seat < 4; ++seat)
            Send(to, proto::SeatName(seat, S(seat).name));
        for (int seat = 0; seat < 4; ++seat)
            Send(to, proto::UserInfo(S(seat).user, seat == to ? protocol::kOwnRecordSeat : proto::SeatBit(seat)));
    }
    for (std::size_t k = 0; k < watchers_.size(); ++k)
        SeatWatcher(kFirstWatcher + static_cast<int>(k));
    StartHand(now);
}

void Table::StartHand(int64_t now)
{
    phase_ = Phase::Playing;
    StakeBets();
    script_.reset();
    turnStep_ = {};
    const auto handIndex = static_cast<std::size_t>(handsPlayed_);
    if (handIndex < config_.preset.hands.size()) {
        script_ = config_.preset.hands[handIndex];
        if (script_->banker)
            banker_ = *script_->banker;
        Tell(-1, "hand " + std::to_string(handsPlayed_ + 1) + " from the preset");
    }
    if (script_ && script_->wall.size() == tile::Count) {
        std::array<Tile, tile::Count> ring{};
        std::copy(script_->wall.begin(), script_->wall.end(), ring.begin());
        wall_ = Wall(ring);
    } else if (config_.presetWall.size() == tile::Count) {
        std::array<Tile, tile::Count> ring{};
        std::copy(config_.presetWall.begin(), config_.presetWall.end(), ring.begin());
        wall_ = Wall(ring);
    } else {
        wall_ = Wall::Shuffled(rng_);
    }
    std::array<int, 4> dice{};
    for (int& d : dice)
        d = 1 + rng_.Below(6);
    if (script_ && script_->dice)
        dice = *script_->dice;
    dice_ = dice;
    tailDraws_ = 0;
    for (Seat& s : seats_) {
        s.hand = SeatHand{};
        s.ready = false;
    }
    pending_ = {};
    await_ = Await::None;
    wild_ = 0;
    indicator_ = 0;
    lastDiscard_ = 0;
    discarder_ = -1;
    robbing_ = false;

    // Every hand opens with the table status that names the banker (the
    // client labels the banker's wind from it, and clears the label between
    // hands), then the hand start.
    for (int to = 0; to < 4; ++to)
        Send(to, proto::GameStarts(banker_, S(to).reconnectId));
    SendWatchers(proto::GameStarts(banker_, 0));
    SendAll(proto::HandStart(banker_, dice, config_.reportFee));

    // Three passes of four tiles from the head, the banker first.
    std::array<std::vector<Tile>, 4> dealt;
    for (int pass = 0; pass < 3; ++pass)
        for (int k = 0; k < 4; ++k) {
            const int seat = (banker_ + k) % 4;
            for (int i = 0; i < 4; ++i)
                dealt[Idx(seat)].push_back(wall_.DrawHead());
        }
    for (int seat = 0; seat < 4; ++seat) {
        S(seat).hand.concealed = dealt[Idx(seat)];
        Send(seat, proto::Deal(dealt[Idx(seat)]));
    }
    SendWatchers(proto::Deal(std::vector<Tile>(12, 0)));
    // Single draws complete every hand to 13 tiles and the banker's to 14,
    // before the indicator is turned up.
    for (int k = 0; k <= 4; ++k) {
        const int seat = (banker_ + k) % 4;
        const Tile t = wall_.DrawHead();
        S(seat).hand.concealed.push_back(t);
        for (int to = 0; to < 4; ++to)
            Send(to, proto::Draw(seat, to == seat ? t : 0));
        SendWatchers(proto::Draw(seat, 0));
        if (k == 4)
            S(seat).hand.drawn = t;
    }
    indicator_ = wall_.DrawHead();
    wild_ = tile::WildFor(indicator_);
    SendAll(proto::WildTile(indicator_, wild_));
    BeginTurn(banker_, now);
}

void Table::BeginTurn(int seat, int64_t now)
{
    const int ops = OwnTurnMask(S(seat).hand, wild_, wall_.Empty());
    const bool falseWin = (ops & protocol::OpWin) && FallsShort(seat, -1, false);
    PromptTurn(seat, ops ? ops | protocol::OpPass : 0, falseWin, now);
}

void Table::PromptTurn(int seat, int mask, bool falseWin, int64_t now)
{
    const uint8_t stamp = NextStamp();
    turnSeat_ = seat;
    await_ = Await::Turn;
    pending_ = {};
    Pending& p = pending_[Idx(seat)];
    p.open = true;
    p.mask = mask;
    p.stamp = stamp;
    p.falseWin = falseWin;
    p.actAt = DecisionTime(seat, now);
    // The seat itself sees what it may do; the others see whose turn it is.
    for (int to = 0; to < 4; ++to)
        Send(to, proto::TurnPrompt(seat, stamp, to == seat ? mask : 0, config_.countdownSeconds, to == seat && falseWin));
}

HandOutcome Table::WinOutcome(int seat, int discarder, bool robbed) const
{
    const SeatHand& h = seats_[Idx(seat)].hand;
    std::vector<Tile> full = h.concealed;
    if (discarder >= 0)
        full.push_back(lastDiscard_);
    HandOutcome o;
    o.winner = seat;
    o.discarder = discarder;
    o.kongDraw = discarder < 0 && h.kongDraw;
    o.hardWin = IsHardWin(full, wild_);
    o.robbedKong = robbed;
    o.banker = banker_;
    o.stake = config_.stake;
    for (int s = 0; s < 4; ++s)
        o.seats[Idx(s)] = seats_[Idx(s)].hand.tally;
    return o;
}

bool Table::FallsShort(int seat, int discarder, bool robbed) const
{
    return WinnerFan(WinOutcome(seat, discarder, robbed)) < config_.preset.minFan;
}

void Table::FalseWin(int seat, int64_t now)
{
    // A win declared on the seat's own turn that falls short: everyone is
    // told, and the seat is asked again, without the win.
    Tell(seat, "false win");
    SendAll(proto::Operation(seat, protocol::OpFalseWin, {0, 0, 0}));
    int mask = pending_[Idx(seat)].mask & ~protocol::OpWin;
    if (mask == protocol::OpPass)
        mask = 0;
    PromptTurn(seat, mask, false, now);
}

void Table::DrawFor(int seat, bool fromTail, int64_t now)
{
    SeatHand& h = S(seat).hand;
    const Tile t = fromTail ? wall_.DrawTail() : wall_.DrawHead();
    h.concealed.push_back(t);
    h.drawn = t;
    h.kongDraw = fromTail;
    if (fromTail)
        ++tailDraws_;
    for (int to = 0; to < 4; ++to)
        Send(to, proto::Draw(seat, to == seat ? t : 0));
    SendWatchers(proto::Draw(seat, 0));
    BeginTurn(seat, now);
}

void Table::NextDraw(int seat, int64_t now)
{
    if (wall_.Empty()) {
        HandOutcome drawn;
        drawn.banker = banker_;
        drawn.stake = config_.stake;
        EndHand(drawn, now);
        return;
    }
    DrawFor(seat, false, now);
}

void Table::Discard(int seat, Tile tile, bool fromInside, int64_t now)
{
    SeatHand& h = S(seat).hand;
    h.Remove(tile);
    ++h.discards;
    // A red dragon, green dragon or wild tile let go is laid in the
    // discarder's single-tile kong row on every table, and counts as such a
    // kong; nobody can claim it.
    if (tile == tile::Red)
        ++h.tally.redKongs;
    else if (tile == tile::Green)
        ++h.tally.greenKongs;
    else if (tile == wild_)
        ++h.tally.wildKongs;
    if (tile::IsSpecial(tile, wild_))
        h.specials.push_back(tile);
    else
        ++h.rowDiscards;
    h.drawn = 0;
    h.kongDraw = false;
    pending_ = {};
    lastDiscard_ = tile;
    discarder_ = seat;
    SendAll(proto::Discard(seat, tile, fromInside));

    bool any = false;
    for (int k = 1; k < 4; ++k) {
        const int other = (seat + k) % 4;
        const int ops = ClaimMask(S(other).hand, tile, wild_, k == 1, wall_.Empty());
        if (!ops)
            continue;
        any = true;
        Pending& p = pending_[Idx(other)];
        p.open = true;
        p.mask = ops | protocol::OpPass;
        p.falseWin = (ops & protocol::OpWin) && FallsShort(other, seat, false);
        p.stamp = NextStamp();
        p.actAt = DecisionTime(other, now);
        // Only the seats that may claim are asked: a prompt resets every
        // client's buttons, so a seat must not see another seat's prompt
        // while its own decision is open.
        Send(other, proto::TurnPrompt(other, p.stamp, p.mask, config_.countdownSeconds, p.falseWin));
    }
    if (any) {
        await_ = Await::Claims;
        return;
    }
    await_ = Await::None;
    NextDraw((seat + 1) % 4, now);
}

void Table::ConcealedKong(int seat, Tile t, int64_t now)
{
    SeatHand& h = S(seat).hand;
    for (int i = 0; i < 4; ++i)
        h.Remove(t);
    h.melds.push_back({MeldKind::ConcealedKong, {t, t, t}, false});
    ++h.tally.concealedKongs;
    pending_ = {};
    SendAll(proto::Operation(seat, protocol::OpConcealedKong, {t, t, t}));
    DrawFor(seat, true, now);
}

void Table::SingleKong(int seat, Tile t, int64_t now)
{
    SeatHand& h = S(seat).hand;
    h.Remove(t);
    if (tile::IsSpecial(t, wild_))
        h.specials.push_back(t);
    if (t == tile::Red) {
        ++h.tally.redKongs;
    } else if (t == tile::Green) {
        ++h.tally.greenKongs;
    } else if (t == wild_) {
        ++h.tally.wildKongs;
    } else {
        // The fourth tile added to an own pong.
        for (Meld& m : h.melds)
            if (m.kind == MeldKind::Pong && m.tiles[0] == t) {
                m.kind = MeldKind::ExposedKong;
                break;
            }
        ++h.tally.exposedKongs;
    }
    pending_ = {};
    SendAll(proto::Operation(seat, protocol::OpSpecialKong, {0, 0, t}));
    if (!tile::IsSpecial(t, wild_)) {
        // A tile added to a pong can be robbed: every seat whose hand it
        // completes is asked, win or pass, before the replacement draw.
        lastDiscard_ = t;
        discarder_ = seat;
        bool any = false;
        for (int k = 1; k < 4; ++k) {
            const int other = (seat + k) % 4;
            if (!IsWinningWith(S(other).hand.concealed, t, wild_))
                continue;
            any = true;
            Pending& p = pending_[Idx(other)];
            p.open = true;
            p.mask = protocol::OpWin | protocol::OpPass;
            p.falseWin = FallsShort(other, seat, true);
            p.stamp = NextStamp();
            p.actAt = DecisionTime(other, now);
            Send(other, proto::TurnPrompt(other, p.stamp, p.mask, config_.countdownSeconds, p.falseWin));
        }
        if (any) {
            robbing_ = true;
            await_ = Await::Claims;
            return;
        }
    }
    DrawFor(seat, true, now);
}

void Table::SettleDiscard(int64_t now)
{
    std::vector<Claim> claims;
    for (int seat = 0; seat < 4; ++seat)
        if (pending_[Idx(seat)].open)
            claims.push_back(pending_[Idx(seat)].claim);
    pending_ = {};
    await_ = Await::None;
    const std::optional<Claim> winner = SettleClaims(discarder_, claims);
    const Tile t = lastDiscard_;
    if (robbing_) {
        robbing_ = false;
        if (winner && winner->op == protocol::OpWin)
            Win(winner->seat, discarder_, now, true);
        else
            DrawFor(discarder_, true, now); // nobody robbed: the kong stands
        return;
    }
    if (!winner) {
        NextDraw((discarder_ + 1) % 4, now);
        return;
    }
    const int seat = winner->seat;
    SeatHand& h = S(seat).hand;
    if (winner->op == protocol::OpPong || winner->op == protocol::OpExposedKong || winner->op == protocol::OpChow)
        --S(discarder_).hand.rowDiscards; // the claimed tile leaves the discarder's row
    switch (winner->op) {
    case protocol::OpWin:
        Win(seat, discarder_, now);
        return;
    case protocol::OpPong:
        h.Remove(t);
        h.Remove(t);
        h.melds.push_back({MeldKind::Pong, {t, t, t}, true});
        ++h.tally.openMelds;
        SendAll(proto::Operation(seat, protocol::OpPong, {t, t, t}));
        h.drawn = 0;
        BeginTurn(seat, now);
        return;
    case protocol::OpExposedKong:
        for (int i = 0; i < 3; ++i)
            h.Remove(t);
        h.melds.push_back({MeldKind::ExposedKong, {t, t, t}, true});
        ++h.tally.openMelds;
        ++h.tally.exposedKongs;
        SendAll(proto::Operation(seat, protocol::OpExposedKong, {t, t, t}));
        DrawFor(seat, true, now);
        return;
    case protocol::OpChow:
        h.Remove(winner->tiles[0]);
        h.Remove(winner->tiles[1]);
        h.melds.push_back({MeldKind::Chow, winner->tiles, true});
        ++h.tally.openMelds;
        SendAll(proto::Operation(seat, protocol::OpChow, winner->tiles));
        h.drawn = 0;
        BeginTurn(seat, now);
        return;
    default:
        NextDraw((discarder_ + 1) % 4, now);
        return;
    }
}

void Table::Win(int winner, int discarder, int64_t now, bool robbed)
{
    pending_ = {};
    await_ = Await::None;
    if (robbed) {
        // The robbed kong does not stand: the seat keeps its pong.
        SeatHand& k = S(discarder).hand;
        for (Meld& m : k.melds)
            if (m.kind == MeldKind::ExposedKong && m.tiles[0] == lastDiscard_ && m.claimed) {
                m.kind = MeldKind::Pong;
                break;
            }
        --k.tally.exposedKongs;
    }
    SendAll(proto::Operation(winner, protocol::OpWin, {0, 0, 0}));
    EndHand(WinOutcome(winner, discarder, robbed), now);
}

void Table::EndHand(const HandOutcome& outcomeIn, int64_t now)
{
    HandOutcome outcome = outcomeIn;
    for (int seat = 0; seat < 4; ++seat)
        outcome.seats[Idx(seat)] = S(seat).hand.tally;
    pending_ = {};
    await_ = Await::None;

    // Every hand turned up, four tiles to a frame; the first frame also
    // shows the next tiles of the wall.
    bool first = true;
    const std::vector<Tile> preview = wall_.Preview();
    for (int seat = 0; seat < 4; ++seat) {
        const std::vector<Tile>& tiles = S(seat).hand.concealed;
        for (std::size_t i = 0; i < tiles.size(); i += 4) {
            std::vector<Tile> chunk(tiles.begin() + static_cast<long>(i),
                                    tiles.begin() + static_cast<long>(std::min(tiles.size(), i + 4)));
            SendAll(proto::WallReveal(seat, chunk, first ? preview : std::vector<Tile>{}));
            first = false;
        }
    }

    const Settlement st = Settle(outcome);
    const std::string& text = outcome.winner < 0 ? proto::text::Drawn
        : outcome.robbedKong                    ? proto::text::RobbedKong
        : (outcome.discarder < 0 ? proto::text::SelfDrawn : proto::text::OnDiscard);
    for (int seat = 0; seat < 4; ++seat) {
        S(seat).coins += st.amounts[Idx(seat)];
        SendAll(proto::SeatResult(seat, st.amounts[Idx(seat)], st.fans[Idx(seat)], text));
    }
    for (int seat = 0; seat < 4; ++seat)
        for (int k = 0; k < 4; ++k)
            SendAll(proto::SettlementFrame(seat, k, st.rows[Idx(seat)], st.amounts[Idx(seat)],
                                           st.subtotals[Idx(seat)], S(seat).user.level));
    // The rewards follow the score sheet at once: the client shows them
    // before its score window.
    const int handNumber = handsPlayed_ + 1;
    if (EveryNthHand(config_.rewardsEvery, handNumber))
        TellHandRewards();

    match_.HandEnded(Nicknames(), st.amounts, now);
    EmitMatch();
    ++handsPlayed_;
    Tell(outcome.winner, outcome.winner < 0 ? "hand drawn" : "hand won");
    if (config_.wallet.on && PoolNoticeDue(handsPlayed_))
        TellPrizePool();
    if (outcome.winner >= 0 && outcome.winner != banker_)
        banker_ = (banker_ + 1) % 4;

    if (config_.hands > 0 && handsPlayed_ >= config_.hands) {
        SendAll(proto::GameOver());
        phase_ = Phase::Finished;
        Tell(-1, "game over");
        return;
    }
    phase_ = Phase::BetweenHands;
    for (int seat = 0; seat < 4; ++seat) {
        Seat& s = S(seat);
        s.ready = false;
        s.readyAt = RobotPlays(seat) ? now + config_.robotDelayMs : now + config_.readyWaitMs;
    }
}

void Table::MarkReady(int seat, int64_t now)
{
    Seat& s = S(seat);
    if (s.ready)
        return;
    s.ready = true;
    SendAll(proto::PlayerReady(s.name));
    if (std::all_of(seats_.begin(), seats_.end(), [](const Seat& x) { return x.ready; }))
        StartHand(now);
}

void Table::ActFor(int seat, int64_t now)
{
    Pending& p = pending_[Idx(seat)];
    const SeatHand& h = S(seat).hand;
    const bool scripted = script_ && S(seat).control == Control::Robot;
    // A robot never declares a win that falls short.
    const int mask = p.falseWin ? p.mask & ~protocol::OpWin : p.mask;
    if (await_ == Await::Turn) {
        if (scripted && ScriptedTurnFor(seat, now))
            return;
        const Claim c = robot::OwnTurn(seat, h, wild_, mask);
        switch (c.op) {
        case protocol::OpWin:
            Win(seat, -1, now);
            return;
        case protocol::OpSpecialKong:
            SingleKong(seat, c.tiles[2], now);
            return;
        case protocol::OpConcealedKong:
            ConcealedKong(seat, c.tiles[0], now);
            return;
        default:
            break;
        }
        const Tile t = robot::ChooseDiscard(h, wild_);
        Discard(seat, t, !(h.drawn != 0 && t == h.drawn), now);
        return;
    }
    if (scripted && ScriptedClaimFor(seat))
        return;
    p.answered = true;
    p.claim = robot::OnDiscard(seat, h, lastDiscard_, wild_, mask, robotRng_);
}

bool Table::ScriptedTurnFor(int seat, int64_t now)
{
    auto& list = script_->turns[Idx(seat)];
    std::size_t& step = turnStep_[Idx(seat)];
    if (step >= list.size())
        return false;
    const ScriptedTurn st = list[step++];
    const Pending& p = pending_[Idx(seat)];
    SeatHand& h = S(seat).hand;
    switch (st.action) {
    case ScriptedTurn::Discard:
        if (h.Holds(st.tile)) {
            Discard(seat, st.tile, !(h.drawn != 0 && st.tile == h.drawn), now);
            return true;
        }
        break;
    case ScriptedTurn::Win:
        if (p.mask & protocol::OpWin) {
            if (p.falseWin)
                FalseWin(seat, now);
            else
                Win(seat, -1, now);
            return true;
        }
        break;
    case ScriptedTurn::Kong: {
        const auto concealed = ConcealedKongTiles(h, wild_);
        const auto single = SingleKongTiles(h, wild_);
        if ((p.mask & protocol::OpConcealedKong) && std::find(concealed.begin(), concealed.end(), st.tile) != concealed.end()) {
            ConcealedKong(seat, st.tile, now);
            return true;
        }
        if ((p.mask & protocol::OpSpecialKong) && std::find(single.begin(), single.end(), st.tile) != single.end()) {
            SingleKong(seat, st.tile, now);
            return true;
        }
        break;
    }
    case ScriptedTurn::Pass: {
        const Tile t = robot::ChooseDiscard(h, wild_);
        Discard(seat, t, !(h.drawn != 0 && t == h.drawn), now);
        return true;
    }
    }
    Tell(seat, "preset line " + std::to_string(st.line) + " cannot be played now; the robot chooses");
    return false;
}

bool Table::ScriptedClaimFor(int seat)
{
    Pending& p = pending_[Idx(seat)];
    const SeatHand& h = S(seat).hand;
    Claim claim;
    claim.seat = seat;
    for (ScriptedClaim& sc : script_->claims[Idx(seat)]) {
        if (sc.used || sc.tile != lastDiscard_)
            continue;
        sc.used = true;
        const Tile t = lastDiscard_;
        bool ok = sc.op == protocol::OpPass || (p.mask & sc.op);
        if (sc.op == protocol::OpChow)
            ok = ok && sc.chow[0] != sc.chow[1] && h.Holds(sc.chow[0]) && h.Holds(sc.chow[1]) && IsRun(sc.chow[0], sc.chow[1], t);
        if (!ok) {
            Tell(seat, "preset line " + std::to_string(sc.line) + " cannot be played now; the robot chooses");
            return false;
        }
        claim.op = sc.op;
        if (sc.op == protocol::OpChow)
            claim.tiles = {sc.chow[0], sc.chow[1], t};
        else if (sc.op == protocol::OpPong || sc.op == protocol::OpExposedKong)
            claim.tiles = {t, t, t};
        if (sc.op == protocol::OpWin && p.falseWin) {
            SendAll(proto::Operation(seat, protocol::OpFalseWin, {0, 0, 0}));
            claim.op = protocol::OpPass;
        }
        p.answered = true;
        p.claim = claim;
        return true;
    }
    if (!script_->claimsScripted)
        return false;
    p.answered = true;
    p.claim = claim; // a pass
    return true;
}

void Table::Advance(int64_t now)
{
    std::array<MatchRun::Seat, 4> matchSeats;
    for (std::size_t i = 0; i < 4; ++i)
        matchSeats[i] = {seats_[i].control == Control::Empty ? std::string() : seats_[i].user.nickname,
                         seats_[i].control == Control::Robot};
    match_.Advance(matchSeats, now);
    EmitMatch();
    // Every step may open the next decision; go on until nothing is due.
    for (int guard = 0; guard < 10000; ++guard) {
        if (phase_ == Phase::Waiting) {
            const int humans = static_cast<int>(std::count_if(
                seats_.begin(), seats_.end(), [](const Seat& s) { return s.control == Control::Human; }));
            const bool waited = (humans > 0 || AnyWatcher()) && startAt_ && now >= *startAt_;
            if (humans == 4 || waited) {
                StartGame(now);
                continue;
            }
            return;
        }
        // Nobody watching: the table holds still until a client comes back.
        if (phase_ == Phase::Finished || !AnyoneThere())
            return;
        if (phase_ == Phase::BetweenHands) {
            int due = -1;
            for (int seat = 0; seat < 4 && due < 0; ++seat)
                if (!S(seat).ready && S(seat).readyAt <= now)
                    due = seat;
            if (due < 0)
                return;
            MarkReady(due, now);
            continue;
        }
        // Playing.
        if (await_ == Await::Claims) {
            const bool all = std::all_of(pending_.begin(), pending_.end(),
                                         [](const Pending& p) { return !p.open || p.answered; });
            if (all) {
                SettleDiscard(now);
                continue;
            }
        }
        int due = -1;
        for (int seat = 0; seat < 4 && due < 0; ++seat) {
            const Pending& p = pending_[Idx(seat)];
            if (p.open && !p.answered && p.actAt <= now)
                due = seat;
        }
        if (due < 0)
            return;
        if (!RobotPlays(due))
            Tell(due, "no answer in time; the server acts for the seat");
        ActFor(due, now);
    }
}

std::optional<int64_t> Table::NextDeadline() const
{
    std::optional<int64_t> next = match_.NextDeadline();
    auto consider = [&](int64_t t) {
        if (!next || t < *next)
            next = t;
    };
    if (phase_ == Phase::Waiting) {
        if (startAt_)
            consider(*startAt_);
        return next;
    }
    if (phase_ == Phase::Finished || !AnyoneThere())
        return next;
    if (phase_ == Phase::BetweenHands) {
        for (const Seat& s : seats_)
            if (!s.ready)
                consider(s.readyAt);
        return next;
    }
    for (const Pending& p : pending_)
        if (p.open && !p.answered)
            consider(p.actAt);
    return next;
}

std::vector<Outgoing> Table::TakeOutgoing()
{
    std::vector<Outgoing> out;
    out.swap(out_);
    return out;
}

std::vector<Note> Table::TakeNotes()
{
    std::vector<Note> out;
    out.swap(notes_);
    return out;
}

void Table::OnGoods(int seat, const protocol::GameFrame& f)
{
    if (!config_.wallet.on) {
        Tell(seat, "ignored kind=" + std::to_string(f[protocol::frame_byte::Kind]));
        return;
    }
    Seat& s = S(seat);
    const GoodsOrder order = ReadGoodsOrder(f);
    std::string why;
    if (order.subCode == 2) {
        why = Buy(s.wallet, s.coins, order, config_.wallet, static_cast<int64_t>(config_.matchInfo.reserve));
        if (why.empty()) {
            Tell(seat, "bought " + std::to_string(order.count) + " cigarettes, coins=" + std::to_string(s.coins));
            // The new stock, and the coins in the seat's own user record.
            Emit(seat, proto::GoodsChange(kCigarettes, s.wallet.Count(kCigarettes)));
            s.user.coins = static_cast<uint64_t>(s.coins);
            Send(seat, proto::UserInfo(s.user, proto::SeatBit(seat)));
        }
    } else if (order.subCode == 3) {
        why = SetBet(s.wallet, order);
        if (why.empty())
            Tell(seat, "bet " + std::to_string(order.count) + " cigarettes a hand");
    } else {
        why = "unknown goods sub-code";
    }
    if (!why.empty())
        Refuse(seat, f, why);
}

void Table::OnPrizeLists(int seat, const protocol::GameFrame& f)
{
    if (!config_.wallet.on) {
        Tell(seat, "ignored kind=" + std::to_string(f[protocol::frame_byte::Kind]));
        return;
    }
    Emit(seat, proto::PrizeList(SampleWinners(), proto::PrizeListAfter(f)));
}

void Table::OnPrizePool(int seat, const protocol::GameFrame& f)
{
    if (!config_.wallet.on) {
        Tell(seat, "ignored kind=" + std::to_string(f[protocol::frame_byte::Kind]));
        return;
    }
    Emit(seat, proto::PrizePool(prizePool_));
}

void Table::TellPrizePool()
{
    for (int seat = 0; seat < 4; ++seat)
        if (S(seat).control == Control::Human && Listening(seat))
            Emit(seat, proto::PrizePool(prizePool_));
}

void Table::TellHandRewards()
{
    for (int seat = 0; seat < 4; ++seat)
        if (S(seat).control == Control::Human && Listening(seat)) {
            Emit(seat, proto::HandPrize(kHandLotteryPrize, kHandJade));
            Tell(seat, "rewarded prize=" + std::to_string(kHandLotteryPrize) + " jade=" + std::to_string(kHandJade));
        }
}

void Table::StakeBets()
{
    if (!config_.wallet.on)
        return;
    for (int seat = 0; seat < 4; ++seat) {
        Seat& s = S(seat);
        if (s.control != Control::Human)
            continue;
        const int32_t taken = StakeBet(s.wallet);
        if (taken <= 0)
            continue;
        prizePool_ += kPoolPerCigarette * taken;
        Tell(seat, "staked " + std::to_string(taken) + " cigarettes");
        if (Listening(seat))
            Emit(seat, proto::GoodsChange(kCigarettes, s.wallet.Count(kCigarettes)));
    }
}

} // namespace tableserver
