#include "paint_util.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainterPath>

namespace resgen {

QImage Canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

namespace {

QString FirstFamily(std::initializer_list<const char*> wanted)
{
    const QStringList families = QFontDatabase::families();
    for (const char* name : wanted)
        if (families.contains(QLatin1String(name)))
            return QLatin1String(name);
    return QString();
}

} // namespace

QFont KaiFont(double px)
{
    static const QString family = FirstFamily({"AR PL UKai TW", "AR PL UKai CN", "WenQuanYi Micro Hei"});
    QFont f(family);
    f.setPixelSize(qMax(1, qRound(px)));
    return f;
}

QFont HeiFont(double px, bool bold)
{
    static const QString family = FirstFamily({"WenQuanYi Micro Hei", "AR PL UKai CN"});
    QFont f(family);
    f.setPixelSize(qMax(1, qRound(px)));
    f.setBold(bold);
    return f;
}

void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, const QFont& font, QColor fill,
                    QColor outline, double outlineWidth)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF r = path.boundingRect();
    if (r.isEmpty())
        return;
    const double scale = qMin(1.0, qMin(box.width() / r.width(), box.height() / r.height()));
    p.save();
    p.translate(box.center());
    p.scale(scale, scale);
    p.translate(-r.center());
    if (outline.alpha() > 0 && outlineWidth > 0) {
        p.setPen(QPen(outline, outlineWidth / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

QColor Shade(QColor c, double factor)
{
    if (factor >= 1.0)
        return c.lighter(qRound(factor * 100));
    return c.darker(qRound(100 / factor));
}

} // namespace resgen
