#pragma once

class Client;

namespace core {

// Stops the scheduler, tells the server the local player leaves (when
// connected) and closes the seat-change show.
void SendLeaveTable(Client& c);

// Closes the connection and returns the table window and the per-seat state
// to their empty look; the window is minimised until the lobby sends the
// client to a table again.
void ResetSession(Client& c);

} // namespace core
