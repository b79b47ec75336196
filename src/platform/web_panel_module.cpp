#include "platform/web_panel_module.h"

#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QResizeEvent>
#include <QTimer>

namespace platform {

QString WebEngineModulePath(const QString& programFolder)
{
    return QDir(programFolder).absoluteFilePath(QStringLiteral("mjclient_webengine.so"));
}

WebEngineFactory WebEngineModule::Factory()
{
    if (tried_)
        return factory_;
    tried_ = true;
    // Only the exact file is loaded, never a library found on a search path.
    if (!QFileInfo(path_).isFile()) {
        qWarning("web panels stay empty: no browser engine module at %s", qPrintable(path_));
        return nullptr;
    }
    QLibrary library(path_);
    if (!library.load()) {
        qWarning("web panels stay empty: %s", qPrintable(library.errorString()));
        return nullptr;
    }
    factory_ = reinterpret_cast<WebEngineFactory>(library.resolve(kWebEngineFactory));
    if (!factory_)
        qWarning("web panels stay empty: %s has no %s", qPrintable(path_), kWebEngineFactory);
    return factory_;
}

ModuleWebPanel::ModuleWebPanel(WebEngineModule& module, QWidget* parent, const QString& name)
    : WebPanel(parent, name), module_(module)
{
}

// The view goes first, while the panel it reports to is still whole.
ModuleWebPanel::~ModuleWebPanel() { view_.reset(); }

QString ModuleWebPanel::LocationURL() const
{
    if (view_ && !view_->Url().isEmpty())
        return view_->Url().toString();
    return requested_.toString();
}

bool ModuleWebPanel::MakeView()
{
    if (view_)
        return true;
    const WebEngineFactory factory = module_.Factory();
    if (!factory)
        return false;
    EngineViewEvents events;
    events.documentComplete = [this](const QString& url) { emit DocumentComplete(url); };
    events.navigateError = [this](const QString& url, int status) { emit NavigateError(url, status); };
    view_.reset(factory(kWebEngineInterfaceVersion, this, &events));
    if (!view_)
        return false;
    view_->Widget()->setGeometry(rect());
    view_->Widget()->show();
    return true;
}

void ModuleWebPanel::Load(const QUrl& url)
{
    requested_ = url;
    if (!MakeView()) {
        const QString address = url.toString();
        QTimer::singleShot(0, this, [this, address] { emit NavigateError(address, -1); });
        return;
    }
    view_->Load(url);
}

void ModuleWebPanel::resizeEvent(QResizeEvent* event)
{
    WebPanel::resizeEvent(event);
    if (view_)
        view_->Widget()->setGeometry(rect());
}

} // namespace platform
