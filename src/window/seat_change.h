#pragma once

class Client;

namespace window {

// Starts the seat-change show while the players are seated anew: the
// shuffle picture and its caption in front of everything, the caption timer
// running, and the second web panel showing the advertisement.
void StartSeatChangeShow(Client& c);

} // namespace window
