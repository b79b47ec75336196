#pragma once

#include "app/client.h"
#include "support/fakes.h"

namespace testing_support {

// A Client over test doubles, all reachable by the test.
struct TestClient {
    FakeClock clock;
    RecordingProcess process;
    RecordingDialogs dialogs;
    FakeTcpLink tcp;
    FakeLobbyLink lobby;
    RecordingSoundDevice sound;
    Client client{{clock, process, dialogs, tcp, lobby, sound}};

    TestClient() { client.core.LobbyTitle = lobby.title; }
};

} // namespace testing_support
