#include "platform/controls.h"

#include <QFontMetricsF>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPaintEvent>
#include <QTextLayout>
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

// The pixels a repaint of the control covers: its paint rectangle widened to
// whole pixels, and a pixel more for the rounding of float positions.
QRect DirtyRectOf(const GraphicControl& c) { return c.PaintRect().toAlignedRect().adjusted(-1, -1, 1, 1); }

// The same picture: the same resource and the same pixels. Two loads of one
// resource are different images unless their pixels match.
bool SamePicture(const Picture& a, const Picture& b)
{
    return a.resourceId == b.resourceId && a.image == b.image &&
           a.image.devicePixelRatio() == b.image.devicePixelRatio();
}

bool IsRightToLeft(char32_t ch)
{
    switch (QChar::direction(ch)) {
    case QChar::DirR:
    case QChar::DirAL:
    case QChar::DirRLE:
    case QChar::DirRLO:
    case QChar::DirRLI:
        return true;
    default:
        return false;
    }
}

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
    const float w = width >= 0 ? width : Width;
    const float h = height >= 0 ? height : Height;
    if (left == Left && top == Top && w == Width && h == Height && !ChangedSinceRepaint())
        return;
    RefreshIfShown();
    Left = left;
    Top = top;
    Width = w;
    Height = h;
    RefreshIfShown();
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
    if (Visible == visible && !ChangedSinceRepaint())
        return;
    Visible = visible;
    Refresh();
}

void GraphicControl::Refresh()
{
    if (surface_)
        surface_->Repaint(this);
}

void GraphicControl::RefreshIfShown()
{
    if (Visible)
        Refresh();
}

bool GraphicControl::ChangedSinceRepaint() const
{
    if (!repainted_ || Visible != repaintedVisible_)
        return true;
    if (!Visible)
        return false; // hidden then and now: nothing shows either way
    return repaintedRect_ != PaintRect() || LookChanged();
}

void GraphicControl::NoteRepaint() const
{
    repainted_ = true;
    repaintedVisible_ = Visible;
    repaintedRect_ = PaintRect();
    NoteLook();
}

QRectF GraphicControl::PaintRect() const { return RectOf(*this); }

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

void Image::MakePicture() const
{
    if (!source_)
        return;
    // Taken out first: the maker may read this image.
    const std::function<Picture()> make = std::move(source_);
    source_ = nullptr;
    picture_ = make();
}

void Image::SetPictureSource(QSize size, std::function<Picture()> make)
{
    float w = Width;
    float h = Height;
    if (!Stretch && !size.isEmpty()) {
        w = static_cast<float>(size.width());
        h = static_cast<float>(size.height());
    }
    RefreshIfShown();
    picture_ = Picture{};
    source_ = std::move(make);
    sourceSize_ = size;
    Width = w;
    Height = h;
    RefreshIfShown();
}

void Image::SetPicture(const Picture& picture)
{
    if (source_ && &picture != &picture_) {
        // A picture given now replaces the one still to be made.
        source_ = nullptr;
        picture_ = Picture{};
        RefreshIfShown();
    }
    // `picture` may be this image's own picture.
    const bool same = SamePicture(picture, picture_);
    float w = Width;
    float h = Height;
    if (!Stretch && !picture.isNull()) {
        w = static_cast<float>(picture.image.width());
        h = static_cast<float>(picture.image.height());
    }
    if (same && w == Width && h == Height && !ChangedSinceRepaint())
        return;
    RefreshIfShown();
    if (!same)
        picture_ = picture;
    Width = w;
    Height = h;
    RefreshIfShown();
}

QRectF Image::PaintRect() const
{
    QRectF r = RectOf(*this);
    if (!Stretch && source_)
        r |= QRectF(QPointF(Left, Top), QSizeF(sourceSize_));
    else if (!Stretch && !picture_.isNull())
        r |= QRectF(QPointF(Left, Top), picture_.image.deviceIndependentSize());
    return r;
}

void Image::Paint(QPainter& p) const
{
    MakePicture();
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
        picture_ = o->GetPicture();
        source_ = nullptr;
    }
}

// ---- Label ----

// A label's text as laid out for one caption, font, size, alignment and
// direction: the lines from the top, each as wide as the label, as many as
// fill its height (the same lines QPainter::drawText lays out for a
// word-wrapped, top-aligned text, so the label draws the same pixels).
struct Label::LaidOutText {
    QString caption;
    QFont font;
    QSizeF size;
    int alignment = 0;
    Qt::LayoutDirection direction = Qt::LeftToRight;
    int dpi = 0;

    // Right-to-left text and texts with length variants are left to
    // QPainter::drawText at every paint.
    bool byPainter = false;
    QTextLayout layout;
    qreal width = 0;  // the widest line
    qreal height = 0; // down to the last line's bottom

    bool Fits(const Label& l, const QPainter& p, QSizeF s) const
    {
        return caption == l.Caption && size == s && alignment == l.Alignment &&
               direction == p.layoutDirection() && dpi == p.device()->logicalDpiY() && font == p.font();
    }
};

Label::Label(QString name, int index) : GraphicControl(std::move(name), index) {}

Label::~Label() = default;

void Label::SetCaption(const QString& caption)
{
    if (Caption == caption && !ChangedSinceRepaint())
        return;
    Caption = caption;
    RefreshIfShown();
}

Label::Look Label::CurrentLook() const
{
    return {Caption, FontSize, FontBold, ForeColor, BackColor, BackTransparent, Alignment};
}

bool Label::LookChanged() const { return !(CurrentLook() == repaintedLook_); }

void Label::NoteLook() const { repaintedLook_ = CurrentLook(); }

const Label::LaidOutText& Label::LayOut(const QPainter& p, QSizeF size) const
{
    const QFont& font = p.font();
    if (text_ && text_->Fits(*this, p, size))
        return *text_;
    ++layoutCount_;
    text_ = std::make_unique<LaidOutText>();
    LaidOutText& t = *text_;
    t.caption = Caption;
    t.font = font;
    t.size = size;
    t.alignment = Alignment;
    t.direction = p.layoutDirection();
    t.dpi = p.device()->logicalDpiY();

    // Line breaks break lines; carriage returns and tabs are spaces.
    QString text = Caption;
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar& ch = text[i];
        char32_t code = ch.unicode();
        if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            code = QChar::surrogateToUcs4(ch, text[i + 1]);
        if (ch == u'\r' || ch == u'\t')
            ch = u' ';
        else if (ch == u'\n')
            ch = QChar::LineSeparator;
        else if (code == 0x9C || IsRightToLeft(code))
            t.byPainter = true;
    }
    if (t.direction == Qt::RightToLeft)
        t.byPainter = true;
    if (t.byPainter)
        return t;
    QTextOption option;
    option.setTextDirection(t.direction);
    option.setAlignment(Qt::AlignLeft); // the lines are placed by hand
    t.layout.setText(text);
    t.layout.setFont(font);
    t.layout.setTextOption(option);
    t.layout.setCacheEnabled(true);

    const qreal leading = QFontMetricsF(font).leading();
    qreal height = -leading;
    t.layout.beginLayout();
    for (;;) {
        QTextLine line = t.layout.createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(std::max<qreal>(0, size.width()));
        height = std::ceil(height + leading); // lines start on whole pixels
        line.setPosition(QPointF(0, height));
        height += line.ascent() + line.descent();
        t.width = std::max(t.width, line.naturalTextWidth());
        if (height >= size.height())
            break; // the label shows no more
    }
    t.layout.endLayout();
    t.height = height;
    return t;
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
    if (Caption.isEmpty())
        return;
    const int horizontal = Alignment == RightJustify ? Qt::AlignRight
                           : Alignment == Center     ? Qt::AlignHCenter
                                                     : Qt::AlignLeft;
    const LaidOutText& t = LayOut(p, r.size());
    if (t.byPainter) {
        p.drawText(r, Qt::AlignTop | Qt::TextWordWrap | horizontal, Caption);
        return;
    }
    qreal x = 0;
    if (horizontal == Qt::AlignRight)
        x = r.width() - t.width;
    else if (horizontal == Qt::AlignHCenter)
        x = (r.width() - t.width) / 2;
    const bool clip = !r.contains(QRectF(r.x() + x, r.y(), t.width, t.height));
    if (clip) {
        p.save();
        p.setClipRect(r, Qt::IntersectClip);
    }
    for (int i = 0; i < t.layout.lineCount(); ++i) {
        const QTextLine line = t.layout.lineAt(i);
        qreal lineX = 0;
        if (horizontal == Qt::AlignRight)
            lineX = r.width() - line.horizontalAdvance();
        else if (horizontal == Qt::AlignHCenter)
            lineX = (r.width() - line.horizontalAdvance()) / 2;
        line.draw(&p, QPointF(r.x() + lineX, r.y()));
    }
    if (clip)
        p.restore();
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
    // On top of the others; the list stays in key order.
    control->stackKey_ = order_.empty() ? 0 : FrontKey() + 1;
    if (order_.empty()) {
        backKey_ = control->stackKey_;
        backKnown_ = true;
    }
    frontKey_ = control->stackKey_;
    frontKnown_ = true;
    order_.push_back(control);
    if (control->Visible)
        Repaint(control);
}

void GraphicSurface::Remove(GraphicControl* control)
{
    order_.erase(std::remove(order_.begin(), order_.end(), control), order_.end());
    if (control->surface_ == this) {
        if (control->stackKey_ == frontKey_)
            frontKnown_ = false;
        if (control->stackKey_ == backKey_)
            backKnown_ = false;
    }
    if (pressed_ == control)
        pressed_ = nullptr;
    control->surface_ = nullptr;
    update();
}

int64_t GraphicSurface::FrontKey() const
{
    if (!frontKnown_) {
        frontKey_ = 0;
        for (std::size_t i = 0; i < order_.size(); ++i)
            if (i == 0 || order_[i]->stackKey_ > frontKey_)
                frontKey_ = order_[i]->stackKey_;
        frontKnown_ = true;
    }
    return frontKey_;
}

int64_t GraphicSurface::BackKey() const
{
    if (!backKnown_) {
        backKey_ = 0;
        for (std::size_t i = 0; i < order_.size(); ++i)
            if (i == 0 || order_[i]->stackKey_ < backKey_)
                backKey_ = order_[i]->stackKey_;
        backKnown_ = true;
    }
    return backKey_;
}

void GraphicSurface::BringToFront(GraphicControl* control)
{
    if (control->surface_ != this)
        return;
    const int64_t front = FrontKey();
    if (control->stackKey_ == front) {
        if (!control->ChangedSinceRepaint())
            return;
    } else {
        // The back control leaving the back leaves the back to another.
        if (backKnown_ && control->stackKey_ == backKey_)
            backKnown_ = false;
        control->stackKey_ = front + 1;
        frontKey_ = control->stackKey_;
        unsorted_ = true;
    }
    if (control->Visible)
        Repaint(control);
}

void GraphicSurface::SendToBack(GraphicControl* control)
{
    if (control->surface_ != this)
        return;
    const int64_t back = BackKey();
    if (control->stackKey_ == back) {
        if (!control->ChangedSinceRepaint())
            return;
    } else {
        if (frontKnown_ && control->stackKey_ == frontKey_)
            frontKnown_ = false;
        control->stackKey_ = back - 1;
        backKey_ = control->stackKey_;
        unsorted_ = true;
    }
    if (control->Visible)
        Repaint(control);
}

const std::vector<GraphicControl*>& ZOrderView::List() const { return surface_.Sorted(); }

const std::vector<GraphicControl*>& GraphicSurface::Sorted() const
{
    if (unsorted_) {
        std::sort(order_.begin(), order_.end(),
                  [](const GraphicControl* a, const GraphicControl* b) { return a->stackKey_ < b->stackKey_; });
        unsorted_ = false;
    }
    return order_;
}

GraphicControl* GraphicSurface::ControlAt(float x, float y) const
{
    const std::vector<GraphicControl*>& order = Sorted();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        GraphicControl* c = *it;
        if (c->Visible && c->Enabled && c->Contains(x, y))
            return c;
    }
    return nullptr;
}

// Repaints the control where it is and where its last repaint showed it,
// in case it was moved or hidden directly since.
void GraphicSurface::Repaint(const GraphicControl* control)
{
    const QRect now = DirtyRectOf(*control);
    if (control->repainted_ && control->repaintedVisible_) {
        const QRect before = control->repaintedRect_.toAlignedRect().adjusted(-1, -1, 1, 1);
        if (before != now)
            update(before);
    }
    control->NoteRepaint();
    update(now);
}

void GraphicSurface::TakeBackPictureFromSource()
{
    if (!BackPictureSource)
        return;
    const std::function<Picture()> source = std::move(BackPictureSource);
    BackPictureSource = nullptr;
    if (BackPicture.isNull())
        BackPicture = source();
}

void GraphicSurface::showEvent(QShowEvent* event)
{
    TakeBackPictureFromSource();
    QWidget::showEvent(event);
}

// Paints only what the event asks for: the back picture inside the region
// and the controls that reach into it.
void GraphicSurface::paintEvent(QPaintEvent* event)
{
    TakeBackPictureFromSource();
    const QRegion& region = event->region();
    QPainter p(this);
    if (!BackPicture.isNull()) {
        const QImage& back = BackPicture.image;
        if (back.size() == size() && back.devicePixelRatio() == 1.0) {
            for (const QRect& r : region)
                p.drawImage(r.topLeft(), back, r);
        } else {
            p.setClipRegion(region);
            p.drawImage(rect(), back);
            p.setClipping(false);
        }
    }
    for (const GraphicControl* c : Sorted())
        if (c->Visible && region.intersects(DirtyRectOf(*c)))
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
    // A move without a button means the release never came here (a window
    // took it): the press is over.
    if (e->buttons() == Qt::NoButton)
        pressed_ = nullptr;
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
    if (c->surface_ == this && c->Contains(x, y) && c->Click)
        c->Click();
}

void GraphicSurface::mouseDoubleClickEvent(QMouseEvent* e)
{
    // The second press of a quick double click stands in for its own press
    // event: it is a press (and with its release a click) like any other,
    // and the control that took it gets the double click as well.
    mousePressEvent(e);
    GraphicControl* c = pressed_;
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
    if (SamePicture(picture, BackPicture))
        return;
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
