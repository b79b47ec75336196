#include "services/service_window.h"

#include <QMouseEvent>

namespace services {

namespace {
// The window's opacity, 200 of 255.
constexpr double kOpacity = 200.0 / 255.0;
} // namespace

ServiceWindow::ServiceWindow(const QString& name, QWidget* owner, int width, int height,
                             const platform::Picture& background)
    : platform::Form(name, owner)
{
    setFixedSize(width, height);
    BackPicture = background;
    setWindowOpacity(kOpacity);
    hide();
}

void ServiceWindow::mousePressEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    if (ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y()))) {
        platform::Form::mousePressEvent(event);
        return;
    }
    dragging_ = true;
    pressGlobal_ = event->globalPosition().toPoint();
    startPos_ = this->pos();
}

void ServiceWindow::mouseMoveEvent(QMouseEvent* event)
{
    if (dragging_ && (event->buttons() & Qt::LeftButton || event->buttons() & Qt::RightButton)) {
        move(startPos_ + event->globalPosition().toPoint() - pressGlobal_);
        return;
    }
    platform::Form::mouseMoveEvent(event);
}

void ServiceWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (dragging_) {
        dragging_ = false;
        return;
    }
    platform::Form::mouseReleaseEvent(event);
}

void CentreOver(QWidget& window, const QWidget* over)
{
    if (!over)
        return;
    const QPoint centre = over->mapToGlobal(QPoint(over->width() / 2, over->height() / 2));
    window.move(centre - QPoint(window.width() / 2, window.height() / 2));
}

} // namespace services
