#include "dispatch/web_panels.h"

#include <QUrl>

namespace dispatch {

bool IsWebAddress(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

bool NavigateWebPanel(GameState::WebPanel& panel, const QString& address)
{
    if (!IsWebAddress(address))
        return false;
    panel.Address = address;
    panel.Shown = -1;
    return true;
}

void HideWebPanel(GameState::WebPanel& panel) { panel.Shown = 0; }

} // namespace dispatch
