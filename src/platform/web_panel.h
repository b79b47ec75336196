#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>

namespace platform {

// A web page panel laid into a window: a windowed control that shows one
// page at a time and reports how loading it ended. It shows no context
// menu. Only http and https addresses are loaded.
class WebPanel : public QWidget {
    Q_OBJECT
public:
    // Made hidden.
    explicit WebPanel(QWidget* parent = nullptr, const QString& name = QString());

    // Starts loading the page. An address that is not a http or https
    // address with a host is refused: NavigateError follows from the event
    // loop, as for a page that fails.
    void Navigate(const QString& address);
    // The address of the page shown or being loaded; empty before the first.
    virtual QString LocationURL() const = 0;

    // The address as a web address, or an empty QUrl when it is not one.
    static QUrl WebAddress(const QString& address);
    // Defined here so that the browser-engine module uses it without the
    // platform library.
    static bool IsWebAddress(const QUrl& url)
    {
        const QString scheme = url.scheme().toLower();
        return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
               !url.host().isEmpty();
    }

signals:
    // The page finished loading.
    void DocumentComplete(const QString& url);
    // Loading the page failed: an HTTP status of 400 or more, a network
    // error (negative) or a refused address (0).
    void NavigateError(const QString& url, int statusCode);

protected:
    virtual void Load(const QUrl& url) = 0;
};

// Makes the web panels of a window.
class WebPanels {
public:
    virtual ~WebPanels() = default;
    // A new hidden panel, a child of parent (which owns it).
    virtual WebPanel* Create(QWidget* parent, const QString& name) = 0;
};

} // namespace platform
