#include "widgets/picture_tile.h"

#include "widgets/see_through.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace widgets {

namespace {

constexpr int32_t kPureRed = 0x0000FF; // the see-through colour

int16_t ButtonsOf(Qt::MouseButtons b)
{
    return static_cast<int16_t>(((b & Qt::LeftButton) ? 1 : 0) | ((b & Qt::RightButton) ? 2 : 0) |
                                ((b & Qt::MiddleButton) ? 4 : 0));
}

int16_t ShiftOf(Qt::KeyboardModifiers m)
{
    return static_cast<int16_t>(((m & Qt::ShiftModifier) ? 1 : 0) | ((m & Qt::ControlModifier) ? 2 : 0) |
                                ((m & Qt::AltModifier) ? 4 : 0));
}

} // namespace

IPic::IPic(QWidget* parent, const QString& name) : QWidget(parent), font_(QStringLiteral("宋体"))
{
    setObjectName(name);
    setMouseTracking(true);
    // Without a picture nothing shows; the text is drawn crisp so that its
    // edges do not take the see-through colour.
    font_.setPointSizeF(9);
    font_.setStyleStrategy(QFont::NoAntialias);
    Clear();
    Show();
}

int16_t IPic::FontSize() const { return static_cast<int16_t>(std::nearbyint(font_.pointSizeF())); }

void IPic::SetFontSize(int16_t points)
{
    font_.setPointSizeF(std::clamp<int16_t>(points, 8, 12));
    Repaint();
}

void IPic::SetText(const QString& text)
{
    text_ = text;
    Repaint();
}

void IPic::SetBackPic(const platform::Picture& picture)
{
    back_ = picture;
    if (picture.isNull())
        return;
    mask_ = picture.image;
    resize(picture.image.size());
    FitSurface();
    {
        QPainter p(&surface_);
        p.drawImage(QRect(QPoint(0, 0), surface_.size()), picture.image);
    }
    Show();
}

void IPic::Clear()
{
    surface_ = QImage(size(), QImage::Format_RGB32);
    surface_.fill(QColor(255, 0, 0));
}

void IPic::Repaint()
{
    Clear();
    if (back_.isNull() || surface_.isNull()) {
        Show();
        return;
    }
    QPainter p(&surface_);
    p.drawImage(QRect(QPoint(0, 0), surface_.size()), back_.image);
    if (text_.isEmpty()) {
        p.end();
        mask_ = back_.image;
        Show();
        return;
    }
    // The first text drawn makes the font bold for good.
    font_.setBold(true);
    p.setFont(font_);
    p.setPen(Qt::white);
    const QFontMetricsF metrics(font_, &surface_);
    const qreal w = metrics.horizontalAdvance(text_);
    const qreal h = metrics.height();
    p.drawText(QPointF(surface_.width() - w, surface_.height() - h + metrics.ascent()), text_);
    p.end();
    mask_ = surface_;
    Show();
}

void IPic::Show()
{
    shown_ = SeeThrough(surface_, mask_, kPureRed);
    ShapeWidget(*this, OpaqueRegion(shown_));
    update();
}

bool IPic::ShowsAt(QPoint at) const { return shown_.valid(at) && qAlpha(shown_.pixel(at)) != 0; }

void IPic::paintEvent(QPaintEvent*)
{
    if (shown_.isNull())
        return;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), shown_);
}

void IPic::mouseMoveEvent(QMouseEvent* e)
{
    if (isEnabled() && MouseMove)
        MouseMove(ButtonsOf(e->buttons()), ShiftOf(e->modifiers()), static_cast<float>(e->position().x()),
                  static_cast<float>(e->position().y()));
}

void IPic::resizeEvent(QResizeEvent*) { FitSurface(); }

// The surface follows the tile's size: what it held stays at the top left,
// new parts are cleared.
void IPic::FitSurface()
{
    if (surface_.size() == size())
        return;
    const QImage before = surface_;
    Clear();
    if (!before.isNull() && !surface_.isNull()) {
        QPainter p(&surface_);
        p.drawImage(QPoint(0, 0), before);
    }
    shown_ = SeeThrough(surface_, mask_, kPureRed);
    ShapeWidget(*this, OpaqueRegion(shown_));
}

} // namespace widgets
