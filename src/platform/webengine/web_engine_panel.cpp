#include "platform/webengine/web_engine_panel.h"

#include <QResizeEvent>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <unistd.h>

namespace platform {

namespace {

// A page that follows only http and https addresses in its main frame, so a
// page cannot lead the panel to local files or other schemes.
class PanelPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        return !isMainFrame || WebPanel::IsWebAddress(url);
    }
};

// The browser engine ends the whole process when it starts as root with its
// sandbox on; a panel then fails its pages instead.
bool EngineCanStart()
{
    if (geteuid() != 0)
        return true;
    const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    if (flags.contains("--no-sandbox"))
        return true;
    static bool warned = false;
    if (!warned)
        qWarning("web panels stay empty: running as root needs QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox");
    warned = true;
    return false;
}

} // namespace

EngineWebPanel::EngineWebPanel(QWidget* parent, const QString& name) : WebPanel(parent, name) {}

QString EngineWebPanel::LocationURL() const
{
    if (view_ && !view_->url().isEmpty())
        return view_->url().toString();
    return requested_.toString();
}

bool EngineWebPanel::MakeView()
{
    if (view_)
        return true;
    if (!EngineCanStart())
        return false;
    view_ = new QWebEngineView(this);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->setGeometry(rect());
    // Made after the view, so that it is deleted after the view's page.
    auto* profile = new QWebEngineProfile(this);
    auto* page = new PanelPage(profile, view_);
    view_->setPage(page);
    connect(page, &QWebEnginePage::loadingChanged, this, [this](const QWebEngineLoadingInfo& info) {
        const QString url = info.url().toString();
        switch (info.status()) {
        case QWebEngineLoadingInfo::LoadSucceededStatus: emit DocumentComplete(url); break;
        case QWebEngineLoadingInfo::LoadFailedStatus:
            emit NavigateError(url, info.errorCode() != 0 ? info.errorCode() : -1);
            break;
        default: break;
        }
    });
    view_->show();
    return true;
}

void EngineWebPanel::Load(const QUrl& url)
{
    requested_ = url;
    if (!MakeView()) {
        const QString address = url.toString();
        QTimer::singleShot(0, this, [this, address] { emit NavigateError(address, -1); });
        return;
    }
    view_->load(url);
}

void EngineWebPanel::resizeEvent(QResizeEvent* event)
{
    WebPanel::resizeEvent(event);
    if (view_)
        view_->setGeometry(rect());
}

} // namespace platform
