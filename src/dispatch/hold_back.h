#pragma once

class Client;

namespace dispatch {

// The hold-back of outgoing plug-in frames across the end of a hand. The
// send task keeps back the first frame of each of two sorts while its flag
// is armed; these three steps drive the cycle.

// At every hand result (kind 9): both sorts armed, both stores empty.
void ArmHoldBack(Client& c);

// At every hand start (kind 4): each held frame whose flag is clear goes out
// with the local player's seat bit in byte 6 and the current echo token, and
// its store is emptied; then the first sort is disarmed.
void ReleaseHeldFrames(Client& c);

// At the login reply (kind 18): both sorts disarmed, both stores empty.
void DisarmHoldBack(Client& c);

} // namespace dispatch
