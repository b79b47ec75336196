#include "gif_writer.h"

#include <gif_lib.h>

#include <cstring>
#include <stdexcept>

namespace resgen {

namespace {

constexpr int kTransparentIndex = 255;

int WriteToArray(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

void Check(int result, const char* what)
{
    if (result == GIF_ERROR)
        throw std::runtime_error(std::string("GIF encoder failed: ") + what);
}

// The frame as palette indexes plus its palette; transparent pixels take
// the last palette entry.
struct Indexed {
    std::vector<GifByteType> pixels;
    ColorMapObject* map = nullptr;
    bool hasTransparency = false;
};

Indexed Quantize(const QImage& source, QColor matte)
{
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const size_t n = static_cast<size_t>(w) * h;
    std::vector<GifByteType> r(n), g(n), b(n);
    std::vector<bool> clear(n);
    Indexed out;
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * w + x;
            const QRgb p = line[x];
            const int a = qAlpha(p);
            if (a < 128) {
                clear[i] = true;
                out.hasTransparency = true;
                r[i] = static_cast<GifByteType>(matte.red());
                g[i] = static_cast<GifByteType>(matte.green());
                b[i] = static_cast<GifByteType>(matte.blue());
                continue;
            }
            auto mix = [a](int c, int m) { return static_cast<GifByteType>((c * a + m * (255 - a)) / 255); };
            r[i] = mix(qRed(p), matte.red());
            g[i] = mix(qGreen(p), matte.green());
            b[i] = mix(qBlue(p), matte.blue());
        }
    }
    int colours = 255;
    GifColorType palette[256] = {};
    out.pixels.resize(n);
    Check(GifQuantizeBuffer(static_cast<unsigned>(w), static_cast<unsigned>(h), &colours, r.data(), g.data(),
                            b.data(), out.pixels.data(), palette),
          "quantize");
    palette[kTransparentIndex] = {static_cast<GifByteType>(matte.red()), static_cast<GifByteType>(matte.green()),
                                  static_cast<GifByteType>(matte.blue())};
    for (size_t i = 0; i < n; ++i)
        if (clear[i])
            out.pixels[i] = kTransparentIndex;
    out.map = GifMakeMapObject(256, palette);
    return out;
}

} // namespace

QByteArray EncodeGif(const std::vector<Frame>& frames, QColor matte)
{
    if (frames.empty())
        throw std::runtime_error("no frames");
    const int w = frames.front().image.width();
    const int h = frames.front().image.height();
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, WriteToArray, &error);
    if (!gif)
        throw std::runtime_error("GIF encoder failed to open");
    EGifSetGifVersion(gif, true);
    Check(EGifPutScreenDesc(gif, w, h, 8, 0, nullptr), "screen");
    const bool animated = frames.size() > 1;
    if (animated) {
        const GifByteType loop[3] = {1, 0, 0}; // repeat for ever
        Check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE), "loop");
        Check(EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0"), "loop");
        Check(EGifPutExtensionBlock(gif, 3, loop), "loop");
        Check(EGifPutExtensionTrailer(gif), "loop");
    }
    for (const Frame& frame : frames) {
        if (frame.image.width() != w || frame.image.height() != h)
            throw std::runtime_error("frames differ in size");
        Indexed indexed = Quantize(frame.image, matte);
        if (animated || indexed.hasTransparency) {
            GraphicsControlBlock gcb{};
            gcb.DisposalMode = animated ? DISPOSE_BACKGROUND : DISPOSAL_UNSPECIFIED;
            gcb.UserInputFlag = false;
            gcb.DelayTime = animated ? frame.delayCs : 0;
            gcb.TransparentColor = indexed.hasTransparency ? kTransparentIndex : NO_TRANSPARENT_COLOR;
            GifByteType ext[4];
            EGifGCBToExtension(&gcb, ext);
            Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext), "control");
        }
        Check(EGifPutImageDesc(gif, 0, 0, w, h, false, indexed.map), "image");
        for (int y = 0; y < h; ++y)
            Check(EGifPutLine(gif, indexed.pixels.data() + static_cast<size_t>(y) * w, w), "line");
        GifFreeMapObject(indexed.map);
    }
    Check(EGifCloseFile(gif, &error), "close");
    return bytes;
}

} // namespace resgen
