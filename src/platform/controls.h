#pragma once

#include "platform/picture.h"

#include <QColor>
#include <QFont>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRectF>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

// The window controls the game code works with. Graphic controls (images,
// labels, shapes) are windowless: plain objects whose properties are the
// table state, painted and hit-tested by the surface that holds them.
// Windowed controls (list boxes, text boxes, picture boxes, timers) are real
// Qt widgets and always lie above the graphic layer of their container.
namespace platform {

class GraphicSurface;

// Mouse buttons and shift state as the event handlers receive them.
enum MouseButton : int16_t { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

using MouseHandler = std::function<void(int16_t button, int16_t shift, float x, float y)>;

class GraphicControl {
public:
    explicit GraphicControl(QString name = QString(), int index = -1) : Name(std::move(name)), Index(index) {}
    virtual ~GraphicControl();
    GraphicControl(const GraphicControl&) = delete;
    GraphicControl& operator=(const GraphicControl&) = delete;

    // Moves and sizes the control; a negative width or height keeps it.
    // The setters repaint only what they change: the value the control has
    // already, or a change to a hidden control, paints nothing. Properties
    // set directly count as changes at the next setter.
    void Move(float left, float top, float width = -1, float height = -1);
    // 0 brings the control to the front of its surface's graphic layer, 1
    // sends it to the back.
    void ZOrder(int position = 0);
    void SetVisible(bool visible);
    // Repaints the control's rectangle, whatever changed.
    void Refresh();
    // The rectangle the control paints in.
    virtual QRectF PaintRect() const;

    bool Contains(float x, float y) const;
    GraphicSurface* Surface() const { return surface_; }

    // Takes over another control's properties (not its name, index,
    // handlers or place in the z-order).
    virtual void CopyFrom(const GraphicControl& other);

    // Paints the control in its own rectangle.
    virtual void Paint(class QPainter& painter) const = 0;

    QString Name;
    int Index;
    float Left = 0;
    float Top = 0;
    float Width = 0;
    float Height = 0;
    bool Visible = true;
    bool Enabled = true;
    QString Tag;
    QString ToolTipText;

    MouseHandler MouseDown;
    MouseHandler MouseMove;
    MouseHandler MouseUp;
    std::function<void()> Click;
    std::function<void()> DblClick;

protected:
    // Repaints the control when it is shown; a change to a hidden control
    // has nothing to repaint.
    void RefreshIfShown();
    // Whether what the control shows differs from what its last repaint
    // showed (properties set directly since then).
    bool ChangedSinceRepaint() const;
    // A control's own properties that show, for the above: whether they
    // changed since NoteLook took them.
    virtual bool LookChanged() const { return false; }
    virtual void NoteLook() const {}

private:
    friend class GraphicSurface;
    void NoteRepaint() const;

    GraphicSurface* surface_ = nullptr;
    // The control's place in its surface's graphic layer: higher lies
    // further to the front.
    int64_t stackKey_ = 0;
    mutable bool repainted_ = false;
    mutable bool repaintedVisible_ = false;
    mutable QRectF repaintedRect_;
};

// An image control: shows its picture, stretched to its size when Stretch is
// set, otherwise at the picture's own size (and then it takes that size).
class Image : public GraphicControl, public HasPicture {
public:
    using GraphicControl::GraphicControl;
    void SetPicture(const Picture& picture) override;
    // A picture made the first time it is needed (painted, read or copied):
    // the image takes the picture's `size` at once, as SetPicture would, so
    // a picture that starts hidden costs nothing until it is shown.
    void SetPictureSource(QSize size, std::function<Picture()> make);
    const Picture& GetPicture() const override
    {
        MakePicture();
        return picture_;
    }
    void ClearPicture() { SetPicture(Picture{}); }
    // The resource the picture came from, 0 for none.
    int PictureId() const { return GetPicture().resourceId; }
    // Its own rectangle and, unless stretched, its picture's.
    QRectF PaintRect() const override;
    void Paint(QPainter& painter) const override;
    void CopyFrom(const GraphicControl& other) override;

    bool Stretch = false;

protected:
    bool LookChanged() const override { return Stretch != repaintedStretch_; }
    void NoteLook() const override { repaintedStretch_ = Stretch; }

private:
    void MakePicture() const;

    mutable Picture picture_;
    // A picture still to be made, and its size.
    mutable std::function<Picture()> source_;
    QSize sourceSize_;
    mutable bool repaintedStretch_ = false;
};

// A label: text in a font and colour, on a transparent or filled back,
// word-wrapped in its rectangle from the top. The text is laid out when
// something that shapes it changes (caption, font size or weight, size,
// alignment), not at every paint.
class Label : public GraphicControl {
public:
    enum Align { LeftJustify = 0, RightJustify = 1, Center = 2 };
    explicit Label(QString name = QString(), int index = -1);
    ~Label() override;
    void SetCaption(const QString& caption);
    void Paint(QPainter& painter) const override;
    void CopyFrom(const GraphicControl& other) override;
    // How many times this label has laid its text out.
    int LayoutCount() const { return layoutCount_; }

    QString Caption;
    float FontSize = 9;
    bool FontBold = false;
    int32_t ForeColor = 0x000000; // 0x00BBGGRR
    int32_t BackColor = 0xFFFFFF;
    bool BackTransparent = true;
    int Alignment = LeftJustify;

protected:
    bool LookChanged() const override;
    void NoteLook() const override;

private:
    struct LaidOutText;
    const LaidOutText& LayOut(const QPainter& painter, QSizeF size) const;

    mutable std::unique_ptr<LaidOutText> text_;
    mutable int layoutCount_ = 0;
    // The properties as the last repaint showed them.
    struct Look {
        QString caption;
        float fontSize = 0;
        bool fontBold = false;
        int32_t foreColor = 0;
        int32_t backColor = 0;
        bool backTransparent = false;
        int alignment = 0;
        bool operator==(const Look&) const = default;
    };
    Look CurrentLook() const;
    mutable Look repaintedLook_;
};

// A colour as stored in a control property (0x00BBGGRR) for painting.
QColor ColorFromBgr(int32_t bgr);

// A fixed set of controls indexed like a control array: element 0 is made
// with the array, further elements by Load, which copies element 0's
// properties and leaves the new element hidden.
template <typename T>
class ControlArray {
public:
    ControlArray(GraphicSurface* surface, const QString& name, int count);

    T& operator[](int i) { return *items_.at(static_cast<std::size_t>(i)); }
    const T& operator[](int i) const { return *items_.at(static_cast<std::size_t>(i)); }
    bool Exists(int i) const { return i >= 0 && i < Count() && items_[static_cast<std::size_t>(i)]; }
    int Count() const { return static_cast<int>(items_.size()); }
    int UBound() const { return Count() - 1; }
    void Load(int i);
    // Removes a loaded element from its surface and destroys it; the array
    // keeps its length. Element 0 stays: it is the design-time one.
    void Unload(int i);
    // Puts every element on a surface (an array made without one), and the
    // elements Load makes later.
    void AttachTo(GraphicSurface* surface);

private:
    GraphicSurface* surface_;
    QString name_;
    std::vector<std::unique_ptr<T>> items_;
};

// The graphic controls of a surface back to front, as they stand whenever
// it is read: a reference to it follows every later change of z-order.
class ZOrderView {
public:
    using const_iterator = std::vector<GraphicControl*>::const_iterator;
    std::size_t size() const { return List().size(); }
    bool empty() const { return List().empty(); }
    GraphicControl* operator[](std::size_t i) const { return List()[i]; }
    GraphicControl* front() const { return List().front(); }
    GraphicControl* back() const { return List().back(); }
    const_iterator begin() const { return List().begin(); }
    const_iterator end() const { return List().end(); }

private:
    friend class GraphicSurface;
    explicit ZOrderView(const GraphicSurface& surface) : surface_(surface) {}
    const std::vector<GraphicControl*>& List() const;

    const GraphicSurface& surface_;
};

// A widget that holds graphic controls: paints them in z-order (back to
// front) and hands each mouse event to the top visible, enabled control
// under the pointer. Child widgets lie above the graphic layer.
//
// A change of z-order only gives the control a new stacking key, one past
// the front or the back one; the list of controls is put in key order when
// it is next read (painting, hit-testing, ZOrderList). Laying out the wall
// restacks over a hundred of some five hundred controls, which would
// otherwise search and shift the list each time.
class GraphicSurface : public QWidget {
    Q_OBJECT
public:
    explicit GraphicSurface(QWidget* parent = nullptr);
    ~GraphicSurface() override;

    // Adds a control on top of the graphic layer; the surface does not own it.
    void Add(GraphicControl* control);
    void Remove(GraphicControl* control);
    void BringToFront(GraphicControl* control);
    void SendToBack(GraphicControl* control);
    // Back to front.
    const ZOrderView& ZOrderList() const { return zOrderView_; }
    // The control that would receive a mouse event at (x, y), or nullptr.
    GraphicControl* ControlAt(float x, float y) const;
    void Repaint(const GraphicControl* control);

    // The surface's own picture, painted under every control.
    Picture BackPicture;
    // Makes BackPicture the first time the surface is shown or painted, for
    // windows that open rarely: their picture costs nothing at start-up.
    std::function<Picture()> BackPictureSource;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend class ZOrderView;
    // The controls back to front: the list put in key order.
    const std::vector<GraphicControl*>& Sorted() const;
    // The stacking keys of the front and the back control, found again
    // when the control that had one left it.
    int64_t FrontKey() const;
    int64_t BackKey() const;
    void TakeBackPictureFromSource();

    // Every control on the surface; in key order unless unsorted_.
    mutable std::vector<GraphicControl*> order_;
    mutable bool unsorted_ = false;
    mutable int64_t frontKey_ = 0;
    mutable int64_t backKey_ = 0;
    mutable bool frontKnown_ = true;
    mutable bool backKnown_ = true;
    GraphicControl* pressed_ = nullptr;
    ZOrderView zOrderView_{*this};
};

// A picture box: a windowed control with a picture and graphic controls of
// its own.
class PictureBox : public GraphicSurface, public HasPicture {
    Q_OBJECT
public:
    explicit PictureBox(QWidget* parent = nullptr, const QString& name = QString());
    void SetPicture(const Picture& picture) override;
    const Picture& GetPicture() const override { return BackPicture; }
    void SetVisible(bool visible) { setVisible(visible); }
    bool Visible() const { return !isHidden(); }
    QString Tag;
};

// A list box with the operations the game code uses.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr, const QString& name = QString());
    void AddItem(const QString& item);
    void Clear() { clear(); }
    int ListCount() const { return count(); }
    QString List(int i) const;
    int ListIndex() const { return currentRow(); }
    void SetListIndex(int i) { setCurrentRow(i); }
    QString Tag;
};

// A one-line text box.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr, const QString& name = QString());
    QString Text() const { return text(); }
    void SetText(const QString& t) { setText(t); }
};

// A window timer: Interval in milliseconds, running while Enabled.
class Timer : public QTimer {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr, const QString& name = QString());
    void SetEnabled(bool on);
    bool Enabled() const { return isActive(); }
    void SetInterval(int ms);
    QString Tag;
};

template <typename T>
ControlArray<T>::ControlArray(GraphicSurface* surface, const QString& name, int count)
    : surface_(surface), name_(name)
{
    items_.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        items_[static_cast<std::size_t>(i)] = std::make_unique<T>(name, i);
        if (surface_)
            surface_->Add(items_[static_cast<std::size_t>(i)].get());
    }
}

template <typename T>
void ControlArray<T>::AttachTo(GraphicSurface* surface)
{
    surface_ = surface;
    for (auto& item : items_)
        if (item && surface_)
            surface_->Add(item.get());
}

template <typename T>
void ControlArray<T>::Load(int i)
{
    if (i < 0)
        return;
    if (i >= Count())
        items_.resize(static_cast<std::size_t>(i) + 1);
    if (items_[static_cast<std::size_t>(i)])
        return;
    auto item = std::make_unique<T>(name_, i);
    if (items_[0])
        item->CopyFrom(*items_[0]);
    item->Visible = false;
    if (surface_)
        surface_->Add(item.get());
    items_[static_cast<std::size_t>(i)] = std::move(item);
}

template <typename T>
void ControlArray<T>::Unload(int i)
{
    if (i <= 0 || !Exists(i))
        return;
    std::unique_ptr<T>& item = items_[static_cast<std::size_t>(i)];
    if (surface_)
        surface_->Remove(item.get());
    item.reset();
}

} // namespace platform

namespace platform {

// A window: a surface of graphic controls that can hold windowed controls,
// created once and shown and hidden. Secondary windows are tool windows
// owned by the table window.
class Form : public GraphicSurface {
    Q_OBJECT
public:
    explicit Form(const QString& name, QWidget* owner = nullptr);
    void Show() { show(); }
    void Hide() { hide(); }
    bool Visible() const { return !isHidden(); }
    void SetVisible(bool visible) { setVisible(visible); }
};

} // namespace platform
