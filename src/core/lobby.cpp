#include "core/lobby.h"

#include "app/client.h"
#include "platform/lobby_link.h"
#include "platform/process.h"

namespace core {
namespace {

void SendLobbyCommand(Client& c, uint32_t command)
{
    const QString& title = c.core.LobbyTitle;
    if (title.trimmed().isEmpty())
        return;
    if (!c.plat.lobby.SendSysCommand(title, command))
        c.plat.process.endNow();
}

} // namespace

void RestoreLobbyWindow(Client& c) { SendLobbyCommand(c, platform::LobbyLink::kScRestore); }

void MinimizeLobbyWindow(Client& c) { SendLobbyCommand(c, platform::LobbyLink::kScMinimize); }

void PostLobbyMessage(Client& c, uint32_t message) { c.plat.lobby.PostMessage(c.core.LobbyTitle, message); }

} // namespace core
