#pragma once

#include "platform/controls.h"
#include "platform/picture.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>

namespace widgets {

// inode_pic: an image button that shows one of four pictures by its state
// (normal, mouse over, selected, disabled) and prints a one-line caption
// over it. It knows nothing of the game: its owner gives it pictures,
// caption, font and colour.
//
// It lives in the graphic layer of its window, like the images around it,
// so it is an Image to the code that places, shows and hides it: Left, Top,
// Width, Height, Visible, Enabled, Tag, Move and ZOrder are the window's.
// Enabled may be written directly: the next paint shows the change.
//
// The face is drawn on a surface of its own that keeps what was drawn until
// it is cleared (to white). The button shows only where its mask picture,
// the last face painted, is not white.
class InodePic : public platform::Image {
public:
    // Created as a window's layout leaves it: caption "1", colour 0xFFFFFF,
    // font size 10, no font name (so no caption shows), no pictures.
    explicit InodePic(QString name = QString(), int index = -1);

    // 1: caption centred across; any other value: caption at the left edge.
    QString istyle() const { return QString::number(style_); }
    // Text that is not a number from 0 to 255 is refused (false) and the
    // style stays as it was.
    bool Setistyle(const QString& text);
    // 0 normal, 1 mouse over, 2 selected; any other state shows no face.
    uint8_t iState() const { return state_; }
    void SetiState(uint8_t state);
    void SetEnabled(bool enabled);
    QString iCaption() const { return caption_; }
    void SetiCaption(const QString& caption);
    QString iFont() const { return fontName_; }
    void SetiFontName(const QString& name) { fontName_ = name; }
    int16_t iFontSize() const { return fontSize_; }
    void SetiFontSize(int16_t points) { fontSize_ = points; }
    int32_t iColor() const { return color_; } // 0x00BBGGRR
    void SetiColor(int32_t color) { color_ = color; }

    // The pictures. Only the normal picture paints when it is set.
    const platform::Picture& MouseInPic() const { return hover_; }
    void SetMouseInPic(const platform::Picture& picture) { hover_ = picture; }
    const platform::Picture& MouseIcon() const { return icon_; }
    void SetMouseIcon(const platform::Picture& picture) { icon_ = picture; }
    const platform::Picture& MouseOriPic() const { return normal_; }
    // Stores the normal picture and, when there is one, paints it over the
    // whole face at once, whatever the state, without the caption.
    void SetMouseOriPic(const platform::Picture& picture);
    // The same, but first sizes the button to the picture.
    void SetMouseOriPicRef(const platform::Picture& picture);
    const platform::Picture& iSelectPic() const { return selected_; }
    void SetiSelectPic(const platform::Picture& picture) { selected_ = picture; }
    const platform::Picture& iNotPic() const { return disabled_; }
    void SetiNotPic(const platform::Picture& picture) { disabled_ = picture; }

    // Readies the button for a new use: enabled, cleared, caption "", font
    // "宋体" 10, colour 0, style 1, no normal, hover or selected picture and
    // no pointer icon. Keeps the disabled picture and the state; no repaint.
    void init();
    // State 0 to 1 (hover), when enabled and a hover picture is set.
    void MouseIn();
    // State to 2 when enabled and a selected picture is set; raises
    // ItemSelected whenever enabled.
    void SelectItem();
    // State 1 back to 0, when enabled and a normal picture is set. The
    // button cannot see the pointer leave it: its window calls this.
    void MouseOut();
    void refresh() { Repaint(); }

    // Events. The pointer reaches an enabled button only. A move raises
    // MouseMove and then hovers; a press raises MouseDown and then selects.
    // (These two hide the window's own handlers of the same name, which the
    // button keeps for itself; MouseUp and DblClick are the window's.)
    platform::MouseHandler MouseMove;
    platform::MouseHandler MouseDown;
    std::function<void()> ItemSelected;

    // The face as the surface holds it, and whether the button shows at a
    // pixel of its own.
    const QImage& SurfaceImage() const;
    bool ShowsAt(int x, int y) const;

    // As an Image, its picture is the normal picture (set by value).
    void SetPicture(const platform::Picture& picture) override { SetMouseOriPic(picture); }
    const platform::Picture& GetPicture() const override { return normal_; }
    void Paint(QPainter& painter) const override;

private:
    // Redraws the face and shows it.
    void Repaint();
    // Clears the surface and draws the face and caption of the present
    // state; the mask changes only when a picture is drawn.
    void Redraw() const;
    // Redraws when the button was resized or Enabled written directly since
    // the last redraw.
    void Sync() const;
    // Paints a picture over the whole face and makes it the mask.
    void PaintFace(const platform::Picture& picture) const;
    // Puts what the surface holds on the screen.
    void Show();
    QSize SurfaceSize() const;

    uint8_t state_ = 0;
    platform::Picture normal_, hover_, selected_, disabled_, icon_;
    QString caption_;
    QString fontName_;
    int16_t fontSize_ = 0;
    int32_t color_ = 0;
    uint8_t style_ = 0;

    mutable QImage surface_;
    mutable QImage mask_;
    mutable QImage shown_;
    mutable bool paintedEnabled_ = true;
};

} // namespace widgets
