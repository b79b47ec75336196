#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <vector>

namespace resgen {

// One picture of an animation and how long it stays, in hundredths of a
// second.
struct Frame {
    QImage image;
    int delayCs = 10;
};

// Encodes frames of equal size as a GIF file. More than one frame makes an
// animation that loops for ever. Pixels less than half opaque become the
// transparent colour; the others are laid over `matte` first, so soft edges
// blend towards it.
QByteArray EncodeGif(const std::vector<Frame>& frames, QColor matte);

} // namespace resgen
