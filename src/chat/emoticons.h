#pragma once

class Client;

namespace chat {

// The scheduler's step for the emoticons beside the seats: three seconds
// (60 ticks) after the last one started, all four are cleared.
void SchedEmoticonEnd(Client& c);

} // namespace chat
