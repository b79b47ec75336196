#include "platform/controls.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace platform {

namespace {

int16_t ButtonOf(Qt::MouseButtons b)
{
    int16_t v = 0;
    if (b & Qt::LeftButton)
        v |= vbLeftButton;
    if (b & Qt::RightButton)
        v |= vbRightButton;
    if (b & Qt::MiddleButton)
        v |= vbMiddleButton;
    return v;
}

int16_t ShiftOf(Qt::KeyboardModifiers m)
{
    int16_t v = 0;
    if (m & Qt::ShiftModifier)
        v |= 1;
    if (m & Qt::ControlModifier)
        v |= 2;
    if (m & Qt::AltModifier)
        v |= 4;
    return v;
}

QRectF RectOf(const GraphicControl& c) { return QRectF(c.Left, c.Top, c.Width, c.Height); }

} // namespace

QColor ColorFromBgr(int32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

// ---- GraphicControl ----

GraphicControl::~GraphicControl()
{
    if (surface_)
        surface_->Remove(this);
}

void GraphicControl::Move(float left, float top, float width, float height)
{
    Refresh();
    Left = left;
    Top = top;
    if (width >= 0)
        Width = width;
    if (height >= 0)
        Height = height;
    Refresh();
}

void GraphicControl::ZOrder(int position)
{
    if (!surface_)
        return;
    if (position == 0)
        surface_->BringToFront(this);
    else
        surface_->SendToBack(this);
}

void GraphicControl::SetVisible(bool visible)
{
    Visible = visible;
    Refresh();
}

void GraphicControl::Refresh()
{
    if (surface_)
        surface_->Repaint(this);
}

bool GraphicControl::Contains(float x, float y) const
{
    return x >= Left && y >= Top && x < Left + Width && y < Top + Height;
}

void GraphicControl::CopyFrom(const GraphicControl& o)
{
    Left = o.Left;
    Top = o.Top;
    Width = o.Width;
    Height = o.Height;
    Visible = o.Visible;
    Enabled = o.Enabled;
    Tag = o.Tag;
    ToolTipText = o.ToolTipText;
}

// ---- Image ----

void Image::SetPicture(const Picture& picture)
{
    Refresh();
    picture_ = picture;
    if (!Stretch && !picture_.isNull()) {
        Width = static_cast<float>(picture_.image.width());
        Height = static_cast<float>(picture_.image.height());
    }
    Refresh();
}

void Image::Paint(QPainter& p) const
{
    if (picture_.isNull())
        return;
    if (Stretch)
        p.drawImage(RectOf(*this), picture_.image);
    else
        p.drawImage(QPointF(Left, Top), picture_.image);
}

void Image::CopyFrom(const GraphicControl& other)
{
    GraphicControl::CopyFrom(other);
    if (auto* o = dynamic_cast<const Image*>(&other)) {
        Stretch = o->Stretch;
        picture_ = o->picture_;
    }
}

// ---- Label ----

void Label::SetCaption(const QString& caption)
{
    Caption = caption;
    Refresh();
}

void Label::Paint(QPainter& p) const
{
    const QRectF r = RectOf(*this);
    if (!BackTransparent)
        p.fillRect(r, ColorFromBgr(BackColor));
    QFont f = p.font();
    f.setPointSizeF(std::max(1.0f, FontSize));
    f.setBold(FontBold);
    p.setFont(f);
    p.setPen(ColorFromBgr(ForeColor));
    int align = Qt::AlignTop | Qt::TextWordWrap;
    align |= Alignment == RightJustify ? Qt::AlignRight : Alignment == Center ? Qt::AlignHCenter : Qt::AlignLeft;
    p.drawText(r, align, Caption);
}

void Label::CopyFrom(const GraphicControl& other)
{
    GraphicControl::CopyFrom(other);
    if (auto* o = dynamic_cast<const Label*>(&other)) {
        Caption = o->Caption;
        FontSize = o->FontSize;
        FontBold = o->FontBold;
        ForeColor = o->ForeColor;
        BackColor = o->BackColor;
        BackTransparent = o->BackTransparent;
        Alignment = o->Alignment;
    }
}

// ---- GraphicSurface ----

GraphicSurface::GraphicSurface(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
}

GraphicSurface::~GraphicSurface()
{
    for (GraphicControl* c : order_)
        c->surface_ = nullptr;
}

void GraphicSurface::Add(GraphicControl* control)
{
    if (control->surface_)
        control->surface_->Remove(control);
    control->surface_ = this;
    order_.push_back(control);
    Repaint(control);
}

void GraphicSurface::Remove(GraphicControl* control)
{
    order_.erase(std::remove(order_.begin(), order_.end(), control), order_.end());
    if (pressed_ == control)
        pressed_ = nullptr;
    control->surface_ = nullptr;
    update();
}

void GraphicSurface::BringToFront(GraphicControl* control)
{
    auto it = std::find(order_.begin(), order_.end(), control);
    if (it == order_.end())
        return;
    order_.erase(it);
    order_.push_back(control);
    Repaint(control);
}

void GraphicSurface::SendToBack(GraphicControl* control)
{
    auto it = std::find(order_.begin(), order_.end(), control);
    if (it == order_.end())
        return;
    order_.erase(it);
    order_.insert(order_.begin(), control);
    Repaint(control);
}

GraphicControl* GraphicSurface::ControlAt(float x, float y) const
{
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        GraphicControl* c = *it;
        if (c->Visible && c->Enabled && c->Contains(x, y))
            return c;
    }
    return nullptr;
}

void GraphicSurface::Repaint(const GraphicControl* control)
{
    const QRectF r = RectOf(*control);
    update(r.toAlignedRect().adjusted(-1, -1, 1, 1));
}

void GraphicSurface::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    if (!BackPicture.isNull())
        p.drawImage(rect(), BackPicture.image);
    for (const GraphicControl* c : order_)
        if (c->Visible)
            c->Paint(p);
}

void GraphicSurface::mousePressEvent(QMouseEvent* e)
{
    const QPointF pos = e->position();
    pressed_ = ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    if (pressed_ && pressed_->MouseDown)
        pressed_->MouseDown(ButtonOf(e->button()), ShiftOf(e->modifiers()),
                            static_cast<float>(pos.x() - pressed_->Left), static_cast<float>(pos.y() - pressed_->Top));
}

void GraphicSurface::mouseMoveEvent(QMouseEvent* e)
{
    const QPointF pos = e->position();
    // While a button is held the control that took the press keeps the mouse.
    GraphicControl* c = pressed_ ? pressed_ : ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    if (c && c->MouseMove)
        c->MouseMove(ButtonOf(e->buttons()), ShiftOf(e->modifiers()), static_cast<float>(pos.x() - c->Left),
                     static_cast<float>(pos.y() - c->Top));
}

void GraphicSurface::mouseReleaseEvent(QMouseEvent* e)
{
    GraphicControl* c = pressed_;
    pressed_ = nullptr;
    if (!c)
        return;
    const QPointF pos = e->position();
    const float x = static_cast<float>(pos.x());
    const float y = static_cast<float>(pos.y());
    // The handlers may hide or move controls; look the control up again
    // before the click.
    if (c->MouseUp)
        c->MouseUp(ButtonOf(e->button()), ShiftOf(e->modifiers()), x - c->Left, y - c->Top);
    if (std::find(order_.begin(), order_.end(), c) != order_.end() && c->Contains(x, y) && c->Click)
        c->Click();
}

void GraphicSurface::mouseDoubleClickEvent(QMouseEvent* e)
{
    const QPointF pos = e->position();
    GraphicControl* c = ControlAt(static_cast<float>(pos.x()), static_cast<float>(pos.y()));
    if (c && c->DblClick)
        c->DblClick();
}

// ---- PictureBox ----

PictureBox::PictureBox(QWidget* parent, const QString& name) : GraphicSurface(parent)
{
    setObjectName(name);
}

void PictureBox::SetPicture(const Picture& picture)
{
    BackPicture = picture;
    update();
}

// ---- ListBox, TextBox, Timer ----

ListBox::ListBox(QWidget* parent, const QString& name) : QListWidget(parent) { setObjectName(name); }

void ListBox::AddItem(const QString& item) { addItem(item); }

QString ListBox::List(int i) const
{
    const QListWidgetItem* it = item(i);
    return it ? it->text() : QString();
}

TextBox::TextBox(QWidget* parent, const QString& name) : QLineEdit(parent) { setObjectName(name); }

Timer::Timer(QObject* parent, const QString& name) : QTimer(parent) { setObjectName(name); }

void Timer::SetEnabled(bool on)
{
    if (on)
        start();
    else
        stop();
}

void Timer::SetInterval(int ms) { setInterval(ms); }

} // namespace platform

namespace platform {

Form::Form(const QString& name, QWidget* owner) : GraphicSurface(owner)
{
    setObjectName(name);
    if (owner)
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
}

} // namespace platform
