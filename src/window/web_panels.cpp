#include "window/web_panels.h"

#include "app/client.h"
#include "platform/shell.h"
#include "platform/web_panel.h"
#include "window/main_form.h"

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

} // namespace window
