#include "widgets/see_through.h"

#include <QBitmap>
#include <QWidget>

namespace widgets {

namespace {

QRgb RgbOf(int32_t bgr) { return qRgb(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

} // namespace

QImage SeeThrough(const QImage& surface, const QImage& mask, int32_t maskColor)
{
    if (surface.isNull())
        return QImage();
    QImage shown = surface.convertToFormat(QImage::Format_ARGB32);
    if (mask.isNull()) {
        shown.fill(Qt::transparent);
        return shown;
    }
    QImage m = mask.convertToFormat(QImage::Format_ARGB32);
    if (m.size() != shown.size())
        m = m.scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QRgb key = RgbOf(maskColor) & 0x00FFFFFF;
    for (int y = 0; y < shown.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(m.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(shown.scanLine(y));
        for (int x = 0; x < shown.width(); ++x)
            if (qAlpha(in[x]) == 0 || (in[x] & 0x00FFFFFF) == key)
                out[x] = 0;
    }
    return shown;
}

QRegion OpaqueRegion(const QImage& picture)
{
    if (picture.isNull())
        return QRegion();
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    QImage bits(argb.size(), QImage::Format_MonoLSB);
    bits.setColorCount(2);
    bits.setColor(0, qRgb(255, 255, 255)); // color0: outside
    bits.setColor(1, qRgb(0, 0, 0));       // color1: inside
    bits.fill(0);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(in[x]) != 0)
                bits.setPixel(x, y, 1);
    }
    return QRegion(QBitmap::fromImage(bits));
}

void ShapeWidget(QWidget& widget, const QRegion& shape)
{
    if (shape.isEmpty()) {
        widget.clearMask();
        widget.setAttribute(Qt::WA_TransparentForMouseEvents, true);
        return;
    }
    widget.setAttribute(Qt::WA_TransparentForMouseEvents, false);
    widget.setMask(shape);
}

} // namespace widgets
