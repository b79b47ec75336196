#pragma once

class Client;

namespace core {

// Ticks of the scheduler's tasks: a task paced by ticks runs when its
// counter has reached its period.
constexpr int kSendPeriod = 1;
constexpr int kReceivePeriod = 2;
constexpr int kLoginPeriod = 4;
constexpr int kBlinkPeriod = 8;
constexpr int kWatchPeriod = 1;
constexpr int kKeepAliveMs = 5000;
constexpr int kTickMs = 50;

// One tick of the 50 ms scheduler: at most one frame out, one frame in
// every second tick (every tick while frames wait), the login while
// connecting, and the connection watch.
void TimerBong_Timer(Client& c);

// A pause of a table procedure in the middle of a frame, of the given
// seconds rounded to whole milliseconds: the window paints, the socket reads
// and the scheduler ticks meanwhile, but no frame is dispatched until the
// pause is over, so no arm runs while another one waits.
void HoldDispatch(Client& c, float seconds);

// Queues the keep-alive frame.
void TimerKeepAlive_Timer(Client& c);

// The tasks of a tick, callable one by one.
void SchedSendTask(Client& c);
void SchedReceiveTask(Client& c);
void SchedLoginTask(Client& c);
void SchedWatchTask(Client& c);

} // namespace core
