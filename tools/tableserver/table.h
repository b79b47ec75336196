#pragma once

#include "claims.h"
#include "echo_channel.h"
#include "match_run.h"
#include "preset.h"
#include "protocol.h"
#include "rng.h"
#include "scoring.h"
#include "seat_hand.h"
#include "wall.h"
#include "wallet.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tableserver {

struct TableConfig {
    uint64_t seed = 1;
    int hands = 0;              // stop after this many hands; 0 = no limit
    int robotWaitMs = 5000;     // after the first login, free seats go to robots
    int robotDelayMs = 700;     // how long a robot (or a lost client's seat) thinks
    int countdownSeconds = 15;  // the countdown a turn prompt shows
    uint64_t reportFee = 0;     // above 0: every hand offers every seat to report a cheater for this fee
    int graceMs = 10000;        // after the countdown, the server acts for a silent client
    int readyWaitMs = 30000;    // between hands, a silent client counts as ready after this
    int stake = 10;
    int64_t startCoins = 10000;
    // For tests: the wall of every hand, ring position 0 first (the head
    // starts there), instead of a shuffled one. Used when it holds 136 tiles.
    std::vector<Tile> presetWall;
    // A preset game (--preset): its hands are played first, in order; its
    // fewest fan holds for the whole game.
    Preset preset;
    // The match-info document announced after every accepted login (kind
    // 80); none when the address is empty.
    struct MatchInfo {
        std::string url;
        std::string md5;
        int region = 1;
        uint32_t reserve = 0;
    } matchInfo;
    // A small match on the table (match_run.h); off unless asked for.
    MatchConfig match;
    // The goods of every player: the cigarette price and the starting stock.
    WalletConfig wallet;
    // Above 0: after every Nth hand each player is told of a lottery prize
    // and a jade reward (--rewards N).
    int rewardsEvery = 0;
};

// A frame for one seat's client, its echo token already stamped.
struct Outgoing {
    int seat = 0;
    protocol::GameFrame frame{};
    uint64_t order = 0; // place among the frames and notes of the table
};

// Something the trace should show that is no frame: a refused client frame,
// a seat taken over, the game's end.
struct Note {
    int seat = -1;
    std::string text;
    uint64_t order = 0;
};

enum class Phase { Waiting, Playing, BetweenHands, Finished };
enum class Control { Empty, Human, Robot };

// One table of four seats, as a state machine without sockets or clocks: the
// front end hands it logins, client frames and lost connections together
// with the current time in milliseconds, calls Advance when NextDeadline has
// come, and sends what TakeOutgoing returns.
class Table {
public:
    explicit Table(const TableConfig& config);

    struct LoginResult {
        int result = protocol::LoginAccepted;
        int seat = -1;              // the seat taken when accepted
        protocol::GameFrame refusal{};  // the reply to send when not accepted
    };
    LoginResult Login(const std::string& name, int64_t now);

    // A client comes back with the reconnect id of its seat and the echo
    // token it holds. On success the reply and the frames the client missed
    // are queued for it and the seat is returned; otherwise -1 (the caller
    // sends ReconnectReply(false)).
    int Reconnect(uint32_t id, uint16_t token, int64_t now);

    // Every frame of a logged-in client other than login and reconnect.
    void ClientFrame(int seat, const protocol::GameFrame& frame, int64_t now);

    // Spectators. A spectator is numbered from kFirstWatcher on; its frames
    // come out of TakeOutgoing under that number. It is sent the login reply
    // and, while a game runs, the table as it stands; from then on every
    // frame of the table that is not one seat's own (its deal and draws with
    // no tiles, no turn prompts, no chat). A spectator before the game starts
    // counts as a client that waits for it: with no player, four robots play.
    static constexpr int kFirstWatcher = 4;
    int Watch(int64_t now);
    static bool IsWatcher(int number) { return number >= kFirstWatcher; }
    // The spectator's connection is gone, or it left: it is sent nothing more.
    void WatcherGone(int watcher);

    // The seat's connection is gone; the client may come back.
    void ConnectionLost(int seat, int64_t now);

    void Advance(int64_t now);
    std::optional<int64_t> NextDeadline() const;

    std::vector<Outgoing> TakeOutgoing();
    std::vector<Note> TakeNotes();

    // What the table looks like, for the front end and for tests.
    Phase CurrentPhase() const { return phase_; }
    bool Finished() const { return phase_ == Phase::Finished; }
    Control SeatControl(int seat) const { return seats_[Idx(seat)].control; }
    bool Connected(int seat) const { return seats_[Idx(seat)].connected; }
    const SeatHand& Hand(int seat) const { return seats_[Idx(seat)].hand; }
    const std::string& SeatNameOf(int seat) const { return seats_[Idx(seat)].name; }
    uint32_t ReconnectIdOf(int seat) const { return seats_[Idx(seat)].reconnectId; }
    Tile Wild() const { return wild_; }
    Tile Indicator() const { return indicator_; }
    int Banker() const { return banker_; }
    int HandsPlayed() const { return handsPlayed_; }
    const Wall& CurrentWall() const { return wall_; }
    int TurnSeat() const { return turnSeat_; }
    bool AwaitingClaims() const { return await_ == Await::Claims; }
    bool PromptOpen(int seat) const { return pending_[Idx(seat)].open; }
    uint8_t PromptStamp(int seat) const { return pending_[Idx(seat)].stamp; }
    int PromptMask(int seat) const { return pending_[Idx(seat)].mask; }
    int64_t Coins(int seat) const { return seats_[Idx(seat)].coins; }
    int64_t PrizePool() const { return prizePool_; }
    const Wallet& WalletOf(int seat) const { return seats_[Idx(seat)].wallet; }

private:
    enum class Await { None, Turn, Claims };

    struct Seat {
        Control control = Control::Empty;
        bool connected = false;
        bool ready = false;
        std::string name;
        proto::UserRecord user;
        uint32_t reconnectId = 0;
        EchoChannel channel{0};
        SeatHand hand;
        int64_t coins = 0;
        int64_t readyAt = 0;
        Wallet wallet;
    };

    // An open decision of one seat: a turn prompt it has not answered yet.
    struct Pending {
        bool open = false;
        int mask = 0;        // what was offered (pass included)
        uint8_t stamp = 0;
        int64_t actAt = 0;   // when the server answers for the seat
        bool answered = false;
        bool falseWin = false; // the offered win falls short of the fewest fan
        Claim claim;
    };

    static std::size_t Idx(int seat) { return static_cast<std::size_t>(seat & 3); }
    Seat& S(int seat) { return seats_[Idx(seat)]; }
    bool Listening(int seat) const;  // a human whose client gets frames
    bool RobotPlays(int seat) const; // the server decides for this seat
    bool AnyHumanConnected() const;
    bool AnyHuman() const;
    bool AnyWatcher() const;   // a spectator still connected
    bool AnyoneThere() const; // a connected player or spectator

    void Send(int seat, protocol::GameFrame frame);
    void SendAll(const protocol::GameFrame& frame);
    void Refuse(int seat, const protocol::GameFrame& frame, const std::string& why);
    uint8_t NextStamp();
    int64_t DecisionTime(int seat, int64_t now) const;

    void StartGame(int64_t now);
    void StartHand(int64_t now);
    void BeginTurn(int seat, int64_t now);
    void PromptTurn(int seat, int mask, bool falseWin, int64_t now);
    HandOutcome WinOutcome(int seat, int discarder, bool robbed) const;
    bool FallsShort(int seat, int discarder, bool robbed) const;
    void FalseWin(int seat, int64_t now);
    bool ScriptedTurnFor(int seat, int64_t now);
    bool ScriptedClaimFor(int seat);
    void DrawFor(int seat, bool fromTail, int64_t now);
    void NextDraw(int seat, int64_t now);
    void Discard(int seat, Tile tile, bool fromInside, int64_t now);
    void ConcealedKong(int seat, Tile tile, int64_t now);
    void SingleKong(int seat, Tile tile, int64_t now);
    void SettleDiscard(int64_t now);
    void Win(int winner, int discarder, int64_t now, bool robbed = false);
    void EndHand(const HandOutcome& outcome, int64_t now);
    void MarkReady(int seat, int64_t now);
    void ResetToWaiting();

    void OnTurnFrame(int seat, const proto::ClientFrame& c, const protocol::GameFrame& f, int64_t now);
    void OnClaimFrame(int seat, const proto::ClientFrame& c, const protocol::GameFrame& f);
    void OnChat(int seat, const protocol::GameFrame& f);
    void ActFor(int seat, int64_t now);
    void Leave(int seat, int64_t now);

    TableConfig config_;
    Rng rng_;      // deals and dice
    Rng robotRng_; // robots' whims
    Rng idRng_;    // reconnect ids and token seeds
    Rng chatRng_;  // when robots answer a line
    std::array<Seat, 4> seats_{};
    Phase phase_ = Phase::Waiting;
    std::optional<int64_t> startAt_;
    int handsPlayed_ = 0;
    int64_t prizePool_ = kStartPool;

    // The hand.
    Wall wall_{tile::FullSet()};
    Tile wild_ = 0;
    Tile indicator_ = 0;
    int banker_ = 0;
    int turnSeat_ = 0;
    Await await_ = Await::None;
    std::array<Pending, 4> pending_{};
    Tile lastDiscard_ = 0; // also the tile of a kong that may be robbed
    int discarder_ = -1;   // also the seat of that kong
    bool robbing_ = false; // the open claims are on a tile added to a pong
    std::optional<PresetHand> script_; // the preset of this hand
    std::array<std::size_t, 4> turnStep_{};
    uint8_t stampCounter_ = 0;

    void Emit(int seat, const protocol::GameFrame& frame) { out_.push_back({seat, frame, ++order_}); }
    void Tell(int seat, const std::string& text) { notes_.push_back({seat, text, ++order_}); }

    // Spectators, by number less kFirstWatcher.
    struct Watcher {
        bool connected = true;
        EchoChannel channel{0};
    };
    std::vector<Watcher> watchers_;
    std::array<int, 4> dice_{};
    int tailDraws_ = 0;
    void SendWatcher(int watcher, protocol::GameFrame frame);
    void SendWatchers(const protocol::GameFrame& frame);
    void SeatWatcher(int watcher); // the four user records
    void SendSnapshot(int watcher);
    void AnnounceMatchInfo(int number);
    // Goods (wallet.cpp has the rules): purchases and bets, the bets taken
    // at a hand's start, and the prize lists.
    void OnGoods(int seat, const protocol::GameFrame& f);
    void OnPrizeLists(int seat, const protocol::GameFrame& f);
    void OnPrizePool(int seat, const protocol::GameFrame& f);
    // The prize pool to every player at the table.
    void TellPrizePool();
    // The hand's lottery prize and jade reward to every player at the table.
    void TellHandRewards();
    void StakeBets();

    std::vector<Outgoing> out_;
    std::vector<Note> notes_;
    uint64_t order_ = 0;

    // The match: its frames go out as they are, to clients that listen.
    MatchRun match_{config_.match};
    void EmitMatch();
    std::array<std::string, 4> Nicknames() const;

public:
    const MatchRun& Match() const { return match_; }
};

} // namespace tableserver
