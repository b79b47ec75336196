#include "window/web_panels.h"

#include "app/client.h"
#include "platform/shell.h"
#include "platform/web_panel.h"
#include "window/main_form.h"

#include <QUrl>
#include <cmath>

namespace window {

bool OpenWebPage(Client& c, const QString& address)
{
    const QUrl url = platform::WebPanel::WebAddress(address);
    if (url.isEmpty()) {
        qWarning("not a web address, not opened: %s", qPrintable(address));
        return false;
    }
    return c.plat.shell.OpenUrl(url);
}

void WebBrowser1_DocumentComplete(Client& c)
{
    MainForm& f = *c.MainForm;
    if (c.window.WebNavError || !f.WebBrowser1)
        return;
    f.WebBrowser1->move(static_cast<int>(std::lrint(f.Bird.Left + 2)), static_cast<int>(std::lrint(f.Bird.Top + 2)));
    f.WebBrowser1->raise();
    f.WebBrowser1->show();
}

void WebBrowser1_NavigateError(Client& c)
{
    if (c.MainForm->WebBrowser1)
        c.MainForm->WebBrowser1->hide();
    c.window.WebNavError = -1;
}

void WebBrowser2_NavigateError(Client& c)
{
    if (c.MainForm->WebBrowser2)
        c.MainForm->WebBrowser2->hide();
}

namespace {

window::WindowState::WebPanel& StateOf(Client& c, int panel)
{
    return panel == 1 ? c.window.WebBrowser1Panel : c.window.WebBrowser2Panel;
}

platform::WebPanel* WidgetOf(Client& c, int panel)
{
    return panel == 1 ? c.MainForm->WebBrowser1 : c.MainForm->WebBrowser2;
}

// True for an absolute http or https address with a host.
bool IsWebAddress(const QString& address)
{
    const QUrl url(address, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}

} // namespace

bool NavigateWebPanel(Client& c, int panel, const QString& address)
{
    if (!IsWebAddress(address))
        return false;
    window::WindowState::WebPanel& state = StateOf(c, panel);
    state.Address = address;
    state.Shown = -1;
    if (platform::WebPanel* w = WidgetOf(c, panel)) {
        if (panel == 2 && state.Width > 0 && state.Height > 0)
            w->setGeometry(static_cast<int>(std::lround(state.Left)), static_cast<int>(std::lround(state.Top)),
                           static_cast<int>(std::lround(state.Width)), static_cast<int>(std::lround(state.Height)));
        w->Navigate(address);
        if (panel == 2) {
            w->raise();
            w->show();
        }
    }
    return true;
}

void HideWebPanel(Client& c, int panel)
{
    StateOf(c, panel).Shown = 0;
    if (platform::WebPanel* w = WidgetOf(c, panel))
        w->hide();
}

} // namespace window
