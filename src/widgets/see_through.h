#pragma once

#include <QImage>
#include <QRegion>
#include <cstdint>

class QWidget;

// The see-through surfaces of the picture controls: a control shows only
// the pixels where its mask picture holds something other than the mask
// colour (a colour stored 0x00BBGGRR); a fully transparent mask pixel counts
// as the mask colour.
namespace widgets {

// What a surface shows through its mask: the surface's pixels where the mask
// (stretched to the surface's size) shows, fully transparent elsewhere. A
// null mask shows nothing.
QImage SeeThrough(const QImage& surface, const QImage& mask, int32_t maskColor);

// The pixels of a picture that are not fully transparent.
QRegion OpaqueRegion(const QImage& picture);

// Gives a windowed control the shape it shows: the pointer reaches it only
// there, and an empty shape lets every pointer event through to what lies
// beneath.
void ShapeWidget(QWidget& widget, const QRegion& shape);

} // namespace widgets
