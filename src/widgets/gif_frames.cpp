#include "widgets/gif_frames.h"

#include "widgets/gif_lzw.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace widgets {

void BlitIndexedFrame(QImage& canvas, const uint8_t* indices, std::ptrdiff_t stride, const GifFrame& frame,
                      const GifPalette& palette)
{
    const int width = std::min(frame.Width, canvas.width() - frame.Left);
    const int height = std::min(frame.Height, canvas.height() - frame.Top);
    if (width <= 0 || height <= 0 || frame.Left < 0 || frame.Top < 0)
        return;
    std::array<uint32_t, 256> lut;
    for (std::size_t i = 0; i < lut.size(); ++i)
        lut[i] = 0xFF000000u | (static_cast<int>(i) < palette.count ? palette.colors[i] : 0u);
    const std::ptrdiff_t line = canvas.bytesPerLine();
    uchar* bits = canvas.bits();
    for (int y = 0; y < height; ++y) {
        uint32_t* dst = reinterpret_cast<uint32_t*>(bits + (frame.Top + y) * line) + frame.Left;
        const uint8_t* src = indices + y * stride;
        if (frame.IsTransparent) {
            const uint8_t clear = frame.TransparentIndex;
            for (int x = 0; x < width; ++x)
                if (src[x] != clear)
                    dst[x] = lut[src[x]];
        } else {
            for (int x = 0; x < width; ++x)
                dst[x] = lut[src[x]];
        }
    }
}

int GifAnimation::Load(const QByteArray& bytes)
{
    Clear();
    if (ParseGifStream(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                                static_cast<std::size_t>(bytes.size())),
                       stream_) == 0)
        return 0;
    bytes_ = bytes;
    indices_.resize(stream_.frames.size());
    built_.assign(stream_.frames.size(), false);
    return FrameCount();
}

int GifAnimation::Load(std::span<const uint8_t> bytes)
{
    return Load(QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

void GifAnimation::Clear()
{
    bytes_ = QByteArray();
    stream_ = GifStream{};
    indices_.clear();
    built_.clear();
    linear_.reset();
    linearSize_ = 0;
    canvas_ = GifCanvas();
    canvasMade_ = false;
}

const GifPalette& GifAnimation::PaletteOf(int i) const
{
    return stream_.palettes[static_cast<std::size_t>(Frame(i).PaletteRow)];
}

void GifAnimation::BuildFrame(int i)
{
    const std::size_t n = static_cast<std::size_t>(i);
    if (built_[n])
        return;
    built_[n] = true;
    const GifFrame& f = stream_.frames[n];
    const std::size_t w = static_cast<std::size_t>(f.Width);
    const std::size_t h = static_cast<std::size_t>(f.Height);
    const std::size_t count = w * h;
    indices_[n].reset(new uint8_t[count]); // every byte is written below
    uint8_t* out = indices_[n].get();
    if (bytes_.isEmpty()) {
        std::memset(out, 0, count);
        return;
    }
    const GifSpan& span = stream_.spans[n];
    const uint8_t* data = reinterpret_cast<const uint8_t*>(bytes_.constData()) + span.lzwPos;
    const std::size_t size = span.dataPos + span.dataLength - span.lzwPos;
    if (!f.Interlaced) {
        const std::size_t written = LzwDecode(data, size, out, count);
        std::memset(out + written, 0, count - written); // where damaged data gave out
        return;
    }
    // Interlaced rows come as every 8th row from 0, every 8th from 4, every
    // 4th from 2, then every 2nd from 1.
    if (linearSize_ < count) {
        linear_.reset(new uint8_t[count]);
        linearSize_ = count;
    }
    const std::size_t written = LzwDecode(data, size, linear_.get(), count);
    std::memset(linear_.get() + written, 0, count - written);
    static constexpr std::size_t kStart[4] = {0, 4, 2, 1};
    static constexpr std::size_t kStep[4] = {8, 8, 4, 2};
    std::size_t row = 0;
    for (int pass = 0; pass < 4; ++pass)
        for (std::size_t y = kStart[pass]; y < h; y += kStep[pass])
            std::memcpy(out + y * w, linear_.get() + (row++) * w, w);
}

void GifAnimation::BuildAll()
{
    for (int i = 0; i < FrameCount(); ++i)
        BuildFrame(i);
}

void GifAnimation::FreeBytes()
{
    bytes_ = QByteArray();
    linear_.reset();
    linearSize_ = 0;
}

const QImage& GifAnimation::Compose(int i)
{
    if (!canvasMade_) {
        canvasMade_ = true;
        if (!canvas_.Reset(stream_.canvasWidth, stream_.canvasHeight))
            return canvas_.Image();
    }
    if (canvas_.Image().isNull())
        return canvas_.Image();
    BuildFrame(i);
    return canvas_.Show(i == 0, Frame(i), Indices(i), PaletteOf(i));
}

bool GifCanvas::Reset(int width, int height)
{
    canvas_ = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
    saved_ = QImage();
    hasShown_ = false;
    if (canvas_.isNull())
        return false;
    canvas_.fill(0);
    return true;
}

void GifCanvas::DisposeShown()
{
    if (!hasShown_)
        return;
    const GifFrame& f = shown_;
    const int width = std::min(f.Width, canvas_.width() - f.Left);
    const int height = std::min(f.Height, canvas_.height() - f.Top);
    if (width <= 0 || height <= 0 || f.Disposal < 2)
        return;
    const std::ptrdiff_t line = canvas_.bytesPerLine();
    uchar* bits = canvas_.bits();
    for (int y = 0; y < height; ++y) {
        uchar* dst = bits + (f.Top + y) * line + f.Left * 4;
        if (f.Disposal == 2)
            std::memset(dst, 0, static_cast<std::size_t>(width) * 4);
        else if (!saved_.isNull())
            std::memcpy(dst, saved_.constScanLine(y), static_cast<std::size_t>(width) * 4);
    }
}

const QImage& GifCanvas::Show(bool first, const GifFrame& frame, const uint8_t* indices, const GifPalette& palette)
{
    if (canvas_.isNull())
        return canvas_;
    if (first)
        canvas_.fill(0);
    else
        DisposeShown();
    if (frame.Disposal == 3)
        saved_ = canvas_.copy(frame.Left, frame.Top, frame.Width, frame.Height);
    BlitIndexedFrame(canvas_, indices, frame.Width, frame, palette);
    shown_ = frame;
    hasShown_ = true;
    return canvas_;
}

QImage GifFirstFrame(std::span<const uint8_t> bytes)
{
    GifAnimation gif;
    if (gif.Load(bytes) == 0)
        return QImage();
    return gif.Compose(0); // shares the pixels, which outlive the animation
}

QImage GifFirstFrame(const QByteArray& bytes)
{
    GifAnimation gif;
    if (gif.Load(bytes) == 0)
        return QImage();
    return gif.Compose(0); // shares the pixels, which outlive the animation
}

} // namespace widgets
