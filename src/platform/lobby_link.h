#pragma once

#include <QString>
#include <cstdint>
#include <functional>

namespace platform {

// The lobby program's main window, found by its title. The client restores
// and minimises it with system commands and posts it private messages.
class LobbyLink {
public:
    // System commands of the window manager, carried in the first parameter
    // of message 0x112.
    static constexpr uint32_t kSysCommand = 0x112;
    static constexpr uint32_t kScRestore = 0xF120;
    static constexpr uint32_t kScMinimize = 0xF020;
    // The window manager's close request for a window (the lobby closes a
    // table window it has no more use for).
    static constexpr uint32_t kClose = 0x10;

    virtual ~LobbyLink() = default;

    // True while a lobby window with this title exists.
    virtual bool FindWindow(const QString& title) = 0;
    // Sends a system command to the window and waits until it is delivered;
    // false when no window has that title.
    virtual bool SendSysCommand(const QString& title, uint32_t command) = 0;
    // Posts a private message (both parameters 0); false when no window has
    // that title.
    virtual bool PostMessage(const QString& title, uint32_t message) = 0;

    // Where the lobby's messages to the table window go: message number and
    // the two parameters. An empty handler drops them.
    using Handler = std::function<void(uint32_t message, uint32_t wParam, uint32_t lParam)>;
    virtual void SetMessageHandler(Handler handler) = 0;
};

} // namespace platform
