#pragma once

#include "match_protocol.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tableserver {

struct MatchConfig {
    bool on = false;
    int32_t instanceId = 101;   // a match type of the served document
    int signUpSeconds = 60;     // a session starts this long after it is announced
    int32_t duration = 1800;    // the length the list shows, seconds
    int hands = 2;              // hands a session lasts
    int prizeBase = 100;
    // Above 0: sent as the lead of the client's automatic sign-up (kind 90)
    // with every welcome; the client then signs up by itself that many
    // seconds before a start. 0: not sent.
    int32_t autoSignLead = 0;
    // The server clock (seconds since 1970-01-01) at time 0 of the table's
    // millisecond clock.
    int64_t epochAtZero = 0;
};

// One player of a session: the seat's nickname and its points.
struct MatchEntrant {
    int seat = 0;
    std::string nickname; // GBK
    int32_t points = 0;
};

// A small match on the table, as a state machine without sockets or clocks:
// one instance whose sessions follow each other. A session is announced a
// minute ahead; the players sign up (kind 72); at its start the robots join
// it and every client hears of the start (75); it lasts a number of hands,
// and each hand's gains are points, with the place (77) sent after every
// hand; at its end come the end (75), each player's result (78), the
// champion (89) and the next session (83). Ranking requests (79) and time
// requests (81) are answered at any time.
class MatchRun {
public:
    enum class Stage { SignUp, Running };

    explicit MatchRun(const MatchConfig& config);

    bool On() const { return config_.on; }

    // A client logged in at this seat (its announcement is out): the list of
    // the instances, its sign-ups and the clock.
    void Welcome(int seat, int64_t now);
    // A match command (kinds 72, 79, 81) of a seat; false when the frame is
    // none, so the table treats it as it treats other frames.
    bool Command(int seat, const protocol::GameFrame& frame, const std::array<std::string, 4>& nicknames, int64_t now);
    // A hand ended: the seats' nicknames and what each won or lost.
    void HandEnded(const std::array<std::string, 4>& nicknames, const std::array<int64_t, 4>& gains, int64_t now);

    // The seats as the table has them now: robots join a session at its start.
    struct Seat {
        std::string nickname; // GBK; "" for a free seat
        bool robot = false;
    };
    void Advance(const std::array<Seat, 4>& seats, int64_t now);
    std::optional<int64_t> NextDeadline() const;

    struct Out {
        int seat = 0;
        protocol::GameFrame frame{};
    };
    std::vector<Out> TakeOutgoing();

    // For tests and the trace.
    Stage CurrentStage() const { return stage_; }
    int32_t StartTime() const { return start_; }
    int32_t Clock(int64_t now) const { return static_cast<int32_t>(config_.epochAtZero + now / 1000); }
    const std::vector<MatchEntrant>& Entrants() const { return entrants_; }
    bool SignedUp(int seat) const;
    int Sessions() const { return sessions_; }
    // The ranking: entrants by points, highest first; equal points keep the
    // order of sign-up.
    std::vector<MatchEntrant> Ranking() const;

private:
    void SendWelcomed(const protocol::GameFrame& frame);
    void Start(const std::array<Seat, 4>& seats, int64_t now);
    void End(int64_t now);
    int PlaceOf(int seat) const;
    void SendPlaces(int kind);

    MatchConfig config_;
    Stage stage_ = Stage::SignUp;
    int32_t start_ = 0;
    int handsLeft_ = 0;
    int sessions_ = 0;
    std::array<bool, 4> welcomed_{};
    // A second list of the sign-ups and the clock, a few seconds after the
    // welcome: a client that had to fetch the document first takes it then.
    std::array<int64_t, 4> resendAt_{-1, -1, -1, -1};
    std::vector<MatchEntrant> entrants_;
    std::vector<Out> out_;
};

} // namespace tableserver
