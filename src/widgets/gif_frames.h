#pragma once

#include "widgets/gif_parser.h"

#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

// The frames of a parsed GIF as colour indices, and their composition on a
// canvas as the animation shows them.
namespace widgets {

// Lays one frame's colour indices (rows `stride` bytes apart, top row first)
// on `canvas` (ARGB32, premultiplied) at the frame's place through its
// palette: a transparent frame leaves the canvas where its pixels hold the
// transparent index. The frame is clipped to the canvas.
void BlitIndexedFrame(QImage& canvas, const uint8_t* indices, std::ptrdiff_t stride, const GifFrame& frame,
                      const GifPalette& palette);

// The canvas the frames of an animation are composed on, transparent where
// no frame has painted.
class GifCanvas {
public:
    // A transparent canvas of this size; false when it cannot be made.
    bool Reset(int width, int height);
    // The canvas as it shows `frame` (its indices rows `frame.Width` bytes
    // apart): the first frame of a pass starts on a clear canvas; the frame
    // shown before is first disposed of as its disposal method says (2
    // clears its rectangle, 3 restores what lay under it). Showing the same
    // frame twice gives the same picture.
    const QImage& Show(bool first, const GifFrame& frame, const uint8_t* indices, const GifPalette& palette);
    const QImage& Image() const { return canvas_; }

private:
    void DisposeShown();

    QImage canvas_;
    QImage saved_; // what lay under a frame with disposal 3
    GifFrame shown_;
    bool hasShown_ = false;
};

class GifAnimation {
public:
    // Parses `bytes` (kept until FreeBytes; a QByteArray is shared, not
    // copied) and returns the number of frames, 0 when the GIF is refused;
    // nothing is decoded yet.
    int Load(const QByteArray& bytes);
    int Load(std::span<const uint8_t> bytes);
    void Clear();

    int FrameCount() const { return static_cast<int>(stream_.frames.size()); }
    const GifStream& Stream() const { return stream_; }
    const GifFrame& Frame(int i) const { return stream_.frames[static_cast<std::size_t>(i)]; }
    const GifPalette& PaletteOf(int i) const;

    // Decodes frame i (from 0) into colour indices, once. A frame whose data
    // is damaged keeps index 0 where its data gave out.
    void BuildFrame(int i);
    // Decodes every frame not built yet.
    void BuildAll();
    bool IsBuilt(int i) const { return built_[static_cast<std::size_t>(i)]; }
    // Drops the GIF bytes; frames not built by then stay at index 0.
    void FreeBytes();

    // Frame i's indices, Width x Height, top row first.
    const uint8_t* Indices(int i) const { return indices_[static_cast<std::size_t>(i)].get(); }

    // The canvas as it shows frame i (see GifCanvas::Show); builds the
    // frame first when it is not built yet.
    const QImage& Compose(int i);

private:
    QByteArray bytes_;
    GifStream stream_;
    std::vector<std::unique_ptr<uint8_t[]>> indices_;
    std::vector<bool> built_;
    std::unique_ptr<uint8_t[]> linear_; // an interlaced frame before its rows are put in order
    std::size_t linearSize_ = 0;
    GifCanvas canvas_;
    bool canvasMade_ = false;
};

// The first frame of a GIF on its canvas, or a null image when the GIF is
// refused.
QImage GifFirstFrame(std::span<const uint8_t> bytes);
QImage GifFirstFrame(const QByteArray& bytes);

} // namespace widgets
