#pragma once

#include "platform/web_panel.h"

class QWebEngineView;

namespace platform {

// A web panel over Qt WebEngine. The browser engine starts with the first
// page the panel loads, not before, so a client that never shows a page
// never starts it. Each panel keeps its pages in memory only.
class EngineWebPanel : public WebPanel {
    Q_OBJECT
public:
    explicit EngineWebPanel(QWidget* parent = nullptr, const QString& name = QString());
    QString LocationURL() const override;

protected:
    void Load(const QUrl& url) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool MakeView();

    QWebEngineView* view_ = nullptr;
    QUrl requested_;
};

class EngineWebPanels : public WebPanels {
public:
    WebPanel* Create(QWidget* parent, const QString& name) override { return new EngineWebPanel(parent, name); }
};

} // namespace platform
