// Our GIF decoder and encoder next to giflib's and Qt's on the same GIF
// files in memory: the emoticons of the picture store and a large generated
// animation.

#include "platform/resources.h"
#include "widgets/gif_encoder.h"
#include "widgets/gif_frames.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageReader>
#include <benchmark/benchmark.h>
#include <gif_lib.h>
#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

int WriteToBytes(GifFileType* gif, const GifByteType* data, int length)
{
    auto* out = static_cast<Bytes*>(gif->UserData);
    out->insert(out->end(), data, data + length);
    return length;
}

struct Reader {
    const Bytes* bytes;
    std::size_t pos = 0;
};

int ReadFromBytes(GifFileType* gif, GifByteType* to, int n)
{
    auto* r = static_cast<Reader*>(gif->UserData);
    const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), r->bytes->size() - r->pos);
    std::memcpy(to, r->bytes->data() + r->pos, take);
    r->pos += take;
    return static_cast<int>(take);
}

// Frame k of the large animation: bands and rings that move, over a
// noisy patch, in 256 colours.
Bytes LargeFrame(int k, int w, int h)
{
    Bytes p(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    std::mt19937 rng(static_cast<unsigned>(k));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2 - k * 9;
            const int dy = y - h / 2;
            int v = ((dx * dx + dy * dy) >> 9) + (x + k * 16) / 32;
            if (x > 700 && y > 500)
                v = static_cast<int>(rng() & 0xFF);
            p[static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)] =
                static_cast<uint8_t>(v);
        }
    return p;
}

// A 1024 x 768 animation of 10 frames, written by giflib.
Bytes LargeAnimation()
{
    constexpr int w = 1024, h = 768;
    Bytes out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, WriteToBytes, &error);
    GifColorType colours[256];
    for (int i = 0; i < 256; ++i)
        colours[i] = {static_cast<GifByteType>(i), static_cast<GifByteType>((i * 7) & 0xFF),
                      static_cast<GifByteType>(255 - i)};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, w, h, 8, 0, map);
    for (int k = 0; k < 10; ++k) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.DelayTime = 10;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
        Bytes frame = LargeFrame(k, w, h);
        EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr);
        for (int y = 0; y < h; ++y)
            EGifPutLine(gif, frame.data() + y * w, w);
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

std::vector<Bytes> Emoticons()
{
    std::vector<Bytes> all;
    for (int id = 668; id <= 685; ++id)
        if (const auto b = platform::LoadResData(id, QStringLiteral("GIF")))
            all.emplace_back(reinterpret_cast<const uint8_t*>(b->constData()),
                             reinterpret_cast<const uint8_t*>(b->constData()) + b->size());
    return all;
}

const std::vector<Bytes>& Files(int set)
{
    static const std::vector<Bytes> emoticons = Emoticons();
    static const std::vector<Bytes> large{LargeAnimation()};
    return set == 0 ? emoticons : large;
}

int64_t TotalBytes(const std::vector<Bytes>& files)
{
    int64_t n = 0;
    for (const Bytes& f : files)
        n += static_cast<int64_t>(f.size());
    return n;
}

const char* SetName(int set) { return set == 0 ? "emoticons" : "1024x768x10"; }

// Our engine: parse, decode every frame, compose every frame; it reads the
// bytes where they lie, as giflib does through its read function.
void BM_DecodeOurs(benchmark::State& state)
{
    const auto& files = Files(static_cast<int>(state.range(0)));
    std::vector<QByteArray> views;
    for (const Bytes& f : files)
        views.push_back(QByteArray::fromRawData(reinterpret_cast<const char*>(f.data()),
                                                static_cast<qsizetype>(f.size())));
    for (auto _ : state) {
        for (const QByteArray& f : views) {
            widgets::GifAnimation gif;
            const int frames = gif.Load(f);
            for (int i = 0; i < frames; ++i)
                benchmark::DoNotOptimize(gif.Compose(i).constBits());
        }
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(files));
    state.SetLabel(SetName(static_cast<int>(state.range(0))));
}

// giflib: DGifSlurp, then the same composition over its frames.
void BM_DecodeGiflib(benchmark::State& state)
{
    const auto& files = Files(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const Bytes& f : files) {
            Reader reader{&f};
            int error = 0;
            GifFileType* gif = DGifOpen(&reader, ReadFromBytes, &error);
            if (!gif || DGifSlurp(gif) != GIF_OK) {
                state.SkipWithError("giflib refused the file");
                return;
            }
            widgets::GifCanvas canvas;
            canvas.Reset(gif->SWidth, gif->SHeight);
            for (int i = 0; i < gif->ImageCount; ++i) {
                const SavedImage& image = gif->SavedImages[i];
                widgets::GifFrame frame;
                frame.Left = image.ImageDesc.Left;
                frame.Top = image.ImageDesc.Top;
                frame.Width = image.ImageDesc.Width;
                frame.Height = image.ImageDesc.Height;
                GraphicsControlBlock gcb;
                if (DGifSavedExtensionToGCB(gif, i, &gcb) == GIF_OK) {
                    frame.Disposal = static_cast<uint8_t>(gcb.DisposalMode & 3);
                    frame.IsTransparent = gcb.TransparentColor != NO_TRANSPARENT_COLOR;
                    frame.TransparentIndex = static_cast<uint8_t>(gcb.TransparentColor);
                }
                const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
                widgets::GifPalette palette;
                palette.count = map->ColorCount;
                for (int k = 0; k < map->ColorCount; ++k)
                    palette.colors[static_cast<std::size_t>(k)] =
                        static_cast<uint32_t>(map->Colors[k].Red << 16 | map->Colors[k].Green << 8 |
                                              map->Colors[k].Blue);
                benchmark::DoNotOptimize(canvas.Show(i == 0, frame, image.RasterBits, palette).constBits());
            }
            DGifCloseFile(gif, &error);
        }
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(files));
    state.SetLabel(SetName(static_cast<int>(state.range(0))));
}

// Qt's GIF reader: every frame, composed by Qt.
void BM_DecodeQImageReader(benchmark::State& state)
{
    const auto& files = Files(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (const Bytes& f : files) {
            QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(f.data()),
                                                      static_cast<qsizetype>(f.size()));
            QBuffer buffer(&data);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, "gif");
            for (QImage image = reader.read(); !image.isNull(); image = reader.read())
                benchmark::DoNotOptimize(image.constBits());
        }
    }
    state.SetBytesProcessed(state.iterations() * TotalBytes(files));
    state.SetLabel(SetName(static_cast<int>(state.range(0))));
}

// One 1024 x 768 frame of 256 colours.
const Bytes& EncoderInput() { static const Bytes frame = LargeFrame(3, 1024, 768); return frame; }

void BM_EncodeOurs(benchmark::State& state)
{
    widgets::GifPalette palette;
    palette.count = 256;
    for (auto _ : state)
        benchmark::DoNotOptimize(widgets::EncodeFrameGif(EncoderInput().data(), 1024, 768, 1024, palette, false, 0));
    state.SetBytesProcessed(state.iterations() * 1024 * 768);
}

void BM_EncodeGiflib(benchmark::State& state)
{
    GifColorType colours[256] = {};
    ColorMapObject* map = GifMakeMapObject(256, colours);
    for (auto _ : state) {
        Bytes out;
        out.reserve(1024 * 768 + 801);
        int error = 0;
        GifFileType* gif = EGifOpen(&out, WriteToBytes, &error);
        EGifSetGifVersion(gif, true);
        EGifPutScreenDesc(gif, 1024, 768, 8, 0, map);
        EGifPutImageDesc(gif, 0, 0, 1024, 768, false, nullptr);
        for (int y = 0; y < 768; ++y)
            EGifPutLine(gif, const_cast<GifByteType*>(EncoderInput().data()) + y * 1024, 1024);
        EGifCloseFile(gif, &error);
        benchmark::DoNotOptimize(out.data());
    }
    GifFreeMapObject(map);
    state.SetBytesProcessed(state.iterations() * 1024 * 768);
}

} // namespace

BENCHMARK(BM_DecodeOurs)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeGiflib)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DecodeQImageReader)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncodeOurs)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EncodeGiflib)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
