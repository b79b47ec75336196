#pragma once

#include "app/game_state.h"

#include <QString>

// The two web panels of the table window as the arms drive them: the page a
// panel is sent to, where it stands and whether it is shown. Addresses come
// from the server, so a panel only ever gets an http or https address.
namespace dispatch {

// True for an absolute http or https address with a host.
bool IsWebAddress(const QString& address);

// Sends the panel to the address, brings it to the front and shows it; an
// address that is not a web address leaves the panel as it is. Returns
// whether the panel took the address.
bool NavigateWebPanel(GameState::WebPanel& panel, const QString& address);

void HideWebPanel(GameState::WebPanel& panel);

} // namespace dispatch
