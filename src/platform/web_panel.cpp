#include "platform/web_panel.h"

#include <QTimer>

namespace platform {

WebPanel::WebPanel(QWidget* parent, const QString& name) : QWidget(parent)
{
    setObjectName(name);
    hide();
}

QUrl WebPanel::WebAddress(const QString& address)
{
    const QUrl url(address.trimmed(), QUrl::StrictMode);
    return IsWebAddress(url) ? url : QUrl();
}

void WebPanel::Navigate(const QString& address)
{
    const QUrl url = WebAddress(address);
    if (url.isEmpty()) {
        QTimer::singleShot(0, this, [this, address] { emit NavigateError(address, 0); });
        return;
    }
    Load(url);
}

} // namespace platform
