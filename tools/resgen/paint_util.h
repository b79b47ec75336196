#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

namespace resgen {

// A transparent canvas of the given size.
QImage Canvas(int w, int h);

// Brush-style calligraphic font for tile faces and a plain bold one for
// captions, both CJK-capable; pixel sizes.
QFont KaiFont(double px);
QFont HeiFont(double px, bool bold = true);

// Draws text centred in a box, shrunk until it fits, as filled outlines
// (so it scales with the painter). An outline colour with alpha 0 draws no
// outline.
void DrawFittedText(QPainter& p, const QRectF& box, const QString& text, const QFont& font, QColor fill,
                    QColor outline = QColor(0, 0, 0, 0), double outlineWidth = 0);

// A shade of a colour: factor above 1 lighter, below 1 darker.
QColor Shade(QColor c, double factor);

} // namespace resgen
