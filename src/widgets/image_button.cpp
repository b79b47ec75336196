#include "widgets/image_button.h"

#include "widgets/see_through.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <cmath>

namespace widgets {

namespace {

constexpr int32_t kWhite = 0xFFFFFF; // the surface's background and mask colour

} // namespace

InodePic::InodePic(QString name, int index) : platform::Image(std::move(name), index)
{
    Stretch = true;
    // The window's own pointer handlers of the graphic layer lead to the
    // button's events and state changes.
    platform::GraphicControl::MouseMove = [this](int16_t button, int16_t shift, float x, float y) {
        if (!Enabled)
            return;
        if (MouseMove)
            MouseMove(button, shift, x, y);
        MouseIn();
    };
    platform::GraphicControl::MouseDown = [this](int16_t button, int16_t shift, float x, float y) {
        if (!Enabled)
            return;
        if (MouseDown)
            MouseDown(button, shift, x, y);
        SelectItem();
    };
    // What the window's layout gives a button it stores nothing for.
    color_ = kWhite;
    fontSize_ = 10;
    SetiCaption(QStringLiteral("1"));
}

bool InodePic::Setistyle(const QString& text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return false;
    const double rounded = std::nearbyint(value);
    if (rounded < 0 || rounded > 255)
        return false;
    style_ = static_cast<uint8_t>(rounded);
    return true;
}

void InodePic::SetiState(uint8_t state)
{
    state_ = state;
    Repaint();
}

void InodePic::SetEnabled(bool enabled)
{
    Enabled = enabled;
    Repaint();
}

void InodePic::SetiCaption(const QString& caption)
{
    caption_ = caption;
    Repaint();
}

void InodePic::SetMouseOriPic(const platform::Picture& picture)
{
    normal_ = picture;
    if (picture.isNull())
        return;
    Sync();
    PaintFace(picture);
    Show();
}

void InodePic::SetMouseOriPicRef(const platform::Picture& picture)
{
    normal_ = picture;
    if (picture.isNull())
        return;
    const QSize own = picture.image.size();
    if (own != SurfaceSize()) {
        Move(Left, Top, static_cast<float>(own.width()), static_cast<float>(own.height()));
        Repaint(); // the resize repaints the button first
    } else {
        Sync();
    }
    PaintFace(picture);
    Show();
}

void InodePic::init()
{
    Enabled = true;
    surface_ = QImage(SurfaceSize(), QImage::Format_RGB32);
    surface_.fill(Qt::white);
    paintedEnabled_ = true;
    caption_.clear();
    fontName_ = QStringLiteral("宋体");
    fontSize_ = 10;
    color_ = 0;
    style_ = 1;
    normal_ = hover_ = selected_ = icon_ = platform::Picture{};
    Show(); // the cleared surface, under the mask it had
}

void InodePic::MouseIn()
{
    if (Enabled && state_ == 0 && !hover_.isNull()) {
        state_ = 1;
        Repaint();
    }
}

void InodePic::SelectItem()
{
    if (!Enabled)
        return;
    if (state_ != 2 && !selected_.isNull()) {
        state_ = 2;
        Repaint();
    }
    if (ItemSelected)
        ItemSelected();
}

void InodePic::MouseOut()
{
    if (Enabled && state_ == 1 && !normal_.isNull()) {
        state_ = 0;
        Repaint();
    }
}

QSize InodePic::SurfaceSize() const
{
    const auto w = std::lrint(std::max(0.0f, Width));
    const auto h = std::lrint(std::max(0.0f, Height));
    return QSize(static_cast<int>(w), static_cast<int>(h));
}

void InodePic::Repaint()
{
    Redraw();
    Show();
}

void InodePic::Redraw() const
{
    surface_ = QImage(SurfaceSize(), QImage::Format_RGB32);
    surface_.fill(Qt::white);
    paintedEnabled_ = Enabled;

    const platform::Picture* face = nullptr;
    if (!Enabled)
        face = &disabled_;
    else if (state_ == 0)
        face = &normal_;
    else if (state_ == 1)
        face = &hover_;
    else if (state_ == 2)
        face = &selected_;
    if (face && !face->isNull())
        PaintFace(*face);

    if (fontName_.isEmpty() || caption_.isEmpty() || fontSize_ <= 0 || surface_.isNull())
        return;
    QPainter p(&surface_);
    QFont font(fontName_);
    font.setPointSizeF(fontSize_);
    p.setFont(font);
    p.setPen(platform::ColorFromBgr(color_));
    const QFontMetricsF metrics(font, &surface_);
    const qreal w = metrics.horizontalAdvance(caption_);
    const qreal h = metrics.height();
    const qreal left = style_ == 1 ? (surface_.width() - w) / 2 : 0;
    const qreal top = (surface_.height() - h) / 2;
    p.drawText(QPointF(left, top + metrics.ascent()), caption_);
}

void InodePic::PaintFace(const platform::Picture& picture) const
{
    mask_ = picture.image;
    if (surface_.isNull())
        return;
    QPainter p(&surface_);
    p.drawImage(QRect(QPoint(0, 0), surface_.size()), picture.image);
}

void InodePic::Show()
{
    shown_ = SeeThrough(surface_, mask_, kWhite);
    RefreshIfShown();
}

void InodePic::Sync() const
{
    if (surface_.size() == SurfaceSize() && paintedEnabled_ == Enabled)
        return;
    Redraw();
    shown_ = SeeThrough(surface_, mask_, kWhite);
}

const QImage& InodePic::SurfaceImage() const
{
    Sync();
    return surface_;
}

bool InodePic::ShowsAt(int x, int y) const
{
    Sync();
    return shown_.valid(x, y) && qAlpha(shown_.pixel(x, y)) != 0;
}

void InodePic::Paint(QPainter& painter) const
{
    Sync();
    if (shown_.isNull())
        return;
    painter.drawImage(PaintRect(), shown_);
}

} // namespace widgets
