#pragma once

#include "app/client.h"
#include "platform/instance_lock.h"
#include "support/fake_http_get.h"
#include "support/fake_prop_plugin.h"
#include "support/fakes.h"
#include "support/panel_fakes.h"

#include "window/pictures.h"

#include <QCoreApplication>
#include <atomic>

namespace testing_support {

// A Client over test doubles, all reachable by the test.
struct TestClient {
    FakeClock clock;
    RecordingProcess process;
    RecordingDialogs dialogs;
    FakeTcpLink tcp;
    FakeLobbyLink lobby;
    // A lock of this test's own, so that tests never see each other.
    platform::InstanceLock instance{UniqueLockName()};
    RecordingSoundDevice sound;
    FakeWebPanels web;
    RecordingShell shell;
    FakeUdpLink udp;
    FakePropPluginLoader plugins;
    FakeHttpGet http;
    Client client{{clock, process, dialogs, tcp, lobby, instance, sound, web, shell, udp, plugins}};

    static QString UniqueLockName()
    {
        static std::atomic<int> n{0};
        return QStringLiteral("mjclient-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(n++);
    }

    TestClient() { Init(); }
    // A client whose instance lock has the given name.
    explicit TestClient(const QString& lockName) : instance(lockName) { Init(); }

    void Init()
    {
        client.core.LobbyTitle = lobby.title;
        client.plat.http = &http;
        window::InitPicIds(client);
    }
};

} // namespace testing_support
