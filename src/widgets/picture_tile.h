#pragma once

#include "platform/controls.h"
#include "platform/picture.h"

#include <QImage>
#include <QString>
#include <QWidget>
#include <cstdint>

namespace widgets {

// iPic: a picture tile that takes the size and the shape of its background
// picture and prints a short text, white and bold, in its bottom-right
// corner. Pure red is see-through: the tile shows only where its mask
// picture is not pure red. While a text shows, the mask is the painted
// tile itself, text included.
class IPic : public QWidget {
    Q_OBJECT
public:
    explicit IPic(QWidget* parent = nullptr, const QString& name = QString());

    // The text's size in points, kept within 8 to 12; writing repaints.
    int16_t FontSize() const;
    void SetFontSize(int16_t points);
    // Writing repaints.
    QString text() const { return text_; }
    void SetText(const QString& text);
    // Stores the picture and, when there is one, makes it the mask, sizes
    // the tile to it and shows it, without the text (the next repaint draws
    // that). No picture leaves the tile as it is.
    const platform::Picture& BackPic() const { return back_; }
    void SetBackPic(const platform::Picture& picture);
    void refresh() { Repaint(); }

    // Raised when the pointer moves over the enabled tile (its shape).
    platform::MouseHandler MouseMove;

    // The tile as its surface holds it, and whether it shows at a pixel.
    const QImage& SurfaceImage() const { return surface_; }
    bool ShowsAt(QPoint at) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void Repaint();
    void Clear();
    void FitSurface();
    void Show();

    platform::Picture back_;
    QString text_;
    QFont font_;
    QImage surface_;
    QImage mask_;
    QImage shown_;
};

} // namespace widgets
