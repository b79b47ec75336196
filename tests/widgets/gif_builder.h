#pragma once

// Builds GIF files block by block for the tests, and reads them back with
// giflib as the reference decoder.

#include "widgets/gif_lzw.h"

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <gif_lib.h>
#include <initializer_list>
#include <string>
#include <vector>

namespace giftest {

using Bytes = std::vector<uint8_t>;

class GifBuilder {
public:
    // Signature and logical screen; `packed` 0x80 | bits - 1 announces a
    // global table.
    explicit GifBuilder(const std::string& signature = "GIF89a", int width = 0, int height = 0, uint8_t packed = 0)
    {
        for (char c : signature)
            b.push_back(static_cast<uint8_t>(c));
        Word(width);
        Word(height);
        b.push_back(packed);
        b.push_back(0);
        b.push_back(0);
    }

    GifBuilder& Raw(std::initializer_list<uint8_t> bytes)
    {
        b.insert(b.end(), bytes);
        return *this;
    }

    // n colours (r, g, b) = (i, 2i, 3i) + tint.
    GifBuilder& Table(int n, uint8_t tint = 0)
    {
        for (int i = 0; i < n; ++i) {
            b.push_back(static_cast<uint8_t>(i + tint));
            b.push_back(static_cast<uint8_t>(2 * i + tint));
            b.push_back(static_cast<uint8_t>(3 * i + tint));
        }
        return *this;
    }

    // A graphic control extension.
    GifBuilder& Control(int disposal, int delayCs, int transparentIndex = -1)
    {
        const uint8_t packed = static_cast<uint8_t>((disposal << 2) | (transparentIndex >= 0 ? 1 : 0));
        Raw({0x21, 0xF9, 0x04, packed});
        Word(delayCs);
        b.push_back(static_cast<uint8_t>(transparentIndex >= 0 ? transparentIndex : 0));
        b.push_back(0);
        return *this;
    }

    GifBuilder& Loop(int count)
    {
        Raw({0x21, 0xFF, 11});
        for (char c : std::string("NETSCAPE2.0"))
            b.push_back(static_cast<uint8_t>(c));
        Raw({3, 1});
        Word(count);
        b.push_back(0);
        return *this;
    }

    // An image descriptor; its data comes next (Pixels or Raw).
    GifBuilder& Image(int left, int top, int width, int height, uint8_t packed = 0)
    {
        b.push_back(0x2C);
        Word(left);
        Word(top);
        Word(width);
        Word(height);
        b.push_back(packed);
        return *this;
    }

    // LZW image data of these indices (our encoder, minimum code size 8),
    // sub-blocks and terminator.
    GifBuilder& Pixels(const Bytes& indices, int width, int height)
    {
        b.push_back(8);
        widgets::LzwEncode(indices.data(), width, height, width, b);
        b.push_back(0);
        return *this;
    }

    // One image of a single colour index, with its data.
    GifBuilder& Solid(int left, int top, int width, int height, uint8_t index, uint8_t packed = 0)
    {
        Image(left, top, width, height, packed);
        if (packed & 0x80)
            Table(2 << (packed & 7));
        return Pixels(Bytes(static_cast<std::size_t>(width * height), index), width, height);
    }

    GifBuilder& Trailer() { return Raw({0x3B}); }

    Bytes b;

private:
    void Word(int v)
    {
        b.push_back(static_cast<uint8_t>(v & 0xFF));
        b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    }
};

inline QByteArray ToQt(const Bytes& b)
{
    return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

// giflib over bytes in memory.
struct GiflibFile {
    explicit GiflibFile(const uint8_t* data, std::size_t size) : data_(data), size_(size)
    {
        int error = 0;
        gif = DGifOpen(this, &GiflibFile::Read, &error);
        if (gif && DGifSlurp(gif) != GIF_OK) {
            DGifCloseFile(gif, &error);
            gif = nullptr;
        }
    }
    ~GiflibFile()
    {
        if (gif) {
            int error = 0;
            DGifCloseFile(gif, &error);
        }
    }
    GiflibFile(const GiflibFile&) = delete;
    GiflibFile& operator=(const GiflibFile&) = delete;

    GifFileType* gif = nullptr;

private:
    static int Read(GifFileType* g, GifByteType* to, int n)
    {
        auto* self = static_cast<GiflibFile*>(g->UserData);
        const std::size_t take = std::min<std::size_t>(static_cast<std::size_t>(n), self->size_ - self->pos_);
        std::copy_n(self->data_ + self->pos_, take, to);
        self->pos_ += take;
        return static_cast<int>(take);
    }
    const uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

} // namespace giftest
