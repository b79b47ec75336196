#pragma once

#include "platform/controls.h"

#include <QPoint>

namespace services {

// A small borderless window of the services, owned by the table window:
// its background picture fills it, it is a little transparent where the
// window system allows it, and a press on its surface (where no control
// takes it) drags it.
class ServiceWindow : public platform::Form {
    Q_OBJECT
public:
    ServiceWindow(const QString& name, QWidget* owner, int width, int height, const platform::Picture& background);

    // A press and move on the surface, for the drag; a press on a control
    // goes to the control.
    bool Dragging() const { return dragging_; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool dragging_ = false;
    QPoint pressGlobal_;
    QPoint startPos_;
};

// Centres a window over another.
void CentreOver(QWidget& window, const QWidget* over);

} // namespace services
