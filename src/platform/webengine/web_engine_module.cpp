// The browser-engine module: the web panels' view over Qt WebEngine, in a
// library of its own that a panel loads with its first page (see
// platform/web_panel_engine.h), so that a table without web content never
// loads the engine.
#include "platform/web_panel.h"
#include "platform/web_panel_engine.h"

#include <QOpenGLContext>
#include <QPointer>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>
#include <unistd.h>

namespace {

// A page that follows only http and https addresses in its main frame, so a
// page cannot lead the panel to local files or other schemes.
class PanelPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) override
    {
        return !isMainFrame || platform::WebPanel::IsWebAddress(url);
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

// The engine, loaded after the application exists, draws through the
// application's shared OpenGL context and fails hard without it: the program
// sets Qt::AA_ShareOpenGLContexts before making its application.
bool SharedContextReady()
{
    if (QOpenGLContext::globalShareContext())
        return true;
    static bool warned = false;
    if (!warned)
        qWarning("web panels stay empty: Qt::AA_ShareOpenGLContexts was not set before the application was made");
    warned = true;
    return false;
}

// One panel's view. Each view keeps its pages in memory only, in a profile
// of its own.
class WebEngineView final : public platform::EngineView {
public:
    WebEngineView(QWidget* parent, const platform::EngineViewEvents& events)
        : view_(new QWebEngineView(parent)), profile_(new QWebEngineProfile)
    {
        view_->setContextMenuPolicy(Qt::NoContextMenu);
        auto* page = new PanelPage(profile_, view_);
        view_->setPage(page);
        QObject::connect(page, &QWebEnginePage::loadingChanged, view_, [events](const QWebEngineLoadingInfo& info) {
            const QString url = info.url().toString();
            switch (info.status()) {
            case QWebEngineLoadingInfo::LoadSucceededStatus:
                if (events.documentComplete)
                    events.documentComplete(url);
                break;
            case QWebEngineLoadingInfo::LoadFailedStatus:
                if (events.navigateError)
                    events.navigateError(url, info.errorCode() != 0 ? info.errorCode() : -1);
                break;
            default: break;
            }
        });
    }
    // The page (a child of the view) goes before its profile.
    ~WebEngineView() override
    {
        delete view_.data();
        delete profile_;
    }

    QWidget* Widget() override { return view_; }
    void Load(const QUrl& url) override { view_->load(url); }
    QUrl Url() const override { return view_ ? view_->url() : QUrl(); }

private:
    QPointer<QWebEngineView> view_;
    QWebEngineProfile* profile_;
};

} // namespace

extern "C" Q_DECL_EXPORT platform::EngineView* mj_create_web_engine_view(int interfaceVersion, QWidget* parent,
                                                                        const platform::EngineViewEvents* events)
{
    if (interfaceVersion != platform::kWebEngineInterfaceVersion || !parent || !events || !SharedContextReady() ||
        !EngineCanStart())
        return nullptr;
    return new WebEngineView(parent, *events);
}
