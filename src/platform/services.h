#pragma once

namespace platform {

class Clock;
class Dialogs;
class InstanceLock;
class LobbyLink;
class Process;
class SoundDevice;
class TcpLink;
class WebPanels;
class Shell;
class UdpLink;
class PropPluginLoader;
class HttpGet;

// The platform services a Client works with. The Client does not own them:
// main makes the real ones, tests make doubles.
struct Services {
    Clock& clock;
    Process& process;
    Dialogs& dialogs;
    TcpLink& tcp;
    LobbyLink& lobby;
    InstanceLock& instance;
    SoundDevice& sound;
    WebPanels& web;
    Shell& shell;
    UdpLink& udp;
    PropPluginLoader& plugins;
    // The transfer of downloaded documents; none: nothing is fetched.
    HttpGet* http = nullptr;
};

} // namespace platform
