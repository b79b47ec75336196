#pragma once

class Client;

namespace core {

// The decision countdown: one step per second while input is enabled; at
// 0 the local player's open decision is taken by automatic play.
void SchedDecisionTask(Client& c);

// The ready countdown between hands: at 0 the table is cleared and the
// ready command sent.
void SchedReadyTask(Client& c);

// The ready command: kind 16, the local seat bit, Data 0, 0, 0, 1.
void SendReady(Client& c);

} // namespace core
