#include "window/dialog_window.h"

#include "window/pictures.h"

#include <QImage>
#include <QMouseEvent>

namespace window {

namespace {
// Alpha of a half-transparent window, of 255.
constexpr int kWindowAlpha = 200;
} // namespace

DialogWindow::DialogWindow(const QString& name, QWidget* owner, int width, int height, int background)
    : platform::Form(name, owner)
{
    setFixedSize(width, height);
    BackPictureSource = [background] { return LoadGifPicture(background, QStringLiteral("GIF")); };
    // A window system without transparency shows the window opaque.
    setWindowOpacity(kWindowAlpha / 255.0);
}

void DialogWindow::Load()
{
    if (loaded_)
        return;
    loaded_ = true;
    if (FormLoad)
        FormLoad();
}

void DialogWindow::showEvent(QShowEvent* event)
{
    platform::Form::showEvent(event);
    Load();
}

void DialogWindow::mousePressEvent(QMouseEvent* event)
{
    const QPointF p = event->position();
    pressedOnForm_ = !ControlAt(static_cast<float>(p.x()), static_cast<float>(p.y()));
    platform::Form::mousePressEvent(event);
}

void DialogWindow::mouseReleaseEvent(QMouseEvent* event)
{
    platform::Form::mouseReleaseEvent(event);
    const bool formClick = pressedOnForm_ && rect().contains(event->position().toPoint());
    pressedOnForm_ = false;
    if (formClick && FormClick)
        FormClick();
}

} // namespace window
