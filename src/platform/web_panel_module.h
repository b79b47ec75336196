#pragma once

#include "platform/web_panel.h"
#include "platform/web_panel_engine.h"

#include <memory>

namespace platform {

// The browser-engine module of a program folder: <folder>/mjclient_webengine.so.
QString WebEngineModulePath(const QString& programFolder);

// The browser-engine module, loaded by its absolute path on first use and
// kept loaded for the rest of the run.
class WebEngineModule {
public:
    explicit WebEngineModule(QString path) : path_(std::move(path)) {}
    const QString& Path() const { return path_; }
    // Whether the module has been loaded and its factory found.
    bool IsLoaded() const { return factory_ != nullptr; }
    // The module's factory, loading the module on the first call; nullptr
    // when it cannot be loaded. The first failure is logged in one line and
    // the module is not tried again.
    WebEngineFactory Factory();

private:
    QString path_;
    bool tried_ = false;
    WebEngineFactory factory_ = nullptr;
};

// A web panel that costs nothing until it gets its first address: then it
// loads the browser-engine module and lays the engine's view into itself.
// When the module or the engine is not there, every page fails as a page
// that cannot be reached does (NavigateError with -1).
class ModuleWebPanel : public WebPanel {
    Q_OBJECT
public:
    // The module must outlive the panel.
    ModuleWebPanel(WebEngineModule& module, QWidget* parent = nullptr, const QString& name = QString());
    ~ModuleWebPanel() override;
    QString LocationURL() const override;

protected:
    void Load(const QUrl& url) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool MakeView();

    WebEngineModule& module_;
    std::unique_ptr<EngineView> view_;
    QUrl requested_;
};

// Makes panels over one module, which it holds: it must outlive the panels.
class ModuleWebPanels : public WebPanels {
public:
    explicit ModuleWebPanels(const QString& modulePath) : module_(modulePath) {}
    WebPanel* Create(QWidget* parent, const QString& name) override
    {
        return new ModuleWebPanel(module_, parent, name);
    }
    WebEngineModule& Module() { return module_; }

private:
    WebEngineModule module_;
};

} // namespace platform
