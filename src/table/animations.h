#pragma once

class Client;

namespace table {

// Shows the compass turned for the local player's seat.
void ShowSeatCompass(Client& c);

} // namespace table
