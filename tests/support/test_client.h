#pragma once

#include "app/client.h"
#include "support/fakes.h"
#include "window/pictures.h"

namespace testing_support {

// A Client over test doubles, all reachable by the test.
struct TestClient {
    FakeClock clock;
    RecordingProcess process;
    RecordingDialogs dialogs;
    FakeTcpLink tcp;
    FakeLobbyLink lobby;
    Client client{{clock, process, dialogs, tcp, lobby}};

    TestClient()
    {
        client.core.LobbyTitle = lobby.title;
        window::InitPicIds(client);
    }
};

} // namespace testing_support
