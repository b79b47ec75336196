#include "widgets/gif_lzw.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace widgets {

namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

} // namespace

std::size_t LzwDecode(const uint8_t* data, std::size_t size, uint8_t* out, std::size_t outSize)
{
    if (size < 2 || outSize == 0)
        return 0;
    const int minCodeSize = data[0];
    if (minCodeSize < 1 || minCodeSize > 8)
        return 0;
    // The codes are read straight from the data sub-blocks: `blockLeft`
    // bytes of the current block remain.
    const uint8_t* in = data + 1;
    const uint8_t* const inEnd = data + size;
    std::size_t blockLeft = 0;
    uint64_t bits = 0;
    int bitCount = 0;
    // Tops the bit buffer up to more than 56 bits, or to the end of the
    // data. Inside a block with 8 bytes left it loads a whole word; the bytes
    // above the ones it counts are the block's next ones, which later loads
    // OR in again unchanged.
    const auto refill = [&] {
        while (bitCount <= 56) {
            if (blockLeft == 0) {
                if (in >= inEnd)
                    return;
                blockLeft = *in++;
                if (blockLeft == 0) {
                    in = inEnd; // the terminator
                    return;
                }
                blockLeft = std::min<std::size_t>(blockLeft, static_cast<std::size_t>(inEnd - in));
                continue;
            }
            if (blockLeft >= 8) {
                uint64_t word;
                std::memcpy(&word, in, 8);
                bits |= word << bitCount;
                const int take = (64 - bitCount) >> 3;
                in += take;
                blockLeft -= static_cast<std::size_t>(take);
                bitCount += take * 8;
                return;
            }
            bits |= static_cast<uint64_t>(*in++) << bitCount;
            bitCount += 8;
            --blockLeft;
        }
    };

    // Each code's string is its prefix code's string plus one suffix byte;
    // `lengths` lets a string be written backwards straight into place.
    std::array<uint16_t, kMaxCodes> prefix;
    std::array<uint8_t, kMaxCodes> suffix;
    std::array<uint8_t, kMaxCodes> first;
    std::array<uint16_t, kMaxCodes> lengths;
    const int clear = 1 << minCodeSize;
    const int end = clear + 1;
    for (int i = 0; i < clear; ++i) {
        suffix[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
        first[static_cast<std::size_t>(i)] = static_cast<uint8_t>(i);
        lengths[static_cast<std::size_t>(i)] = 1;
    }

    int codeSize = minCodeSize + 1;
    uint32_t codeMask = (1u << codeSize) - 1;
    int next = clear + 2;
    int prev = -1;
    std::size_t written = 0;

    while (written < outSize) {
        if (bitCount < codeSize) {
            refill();
            if (bitCount < codeSize)
                break; // the data ends before the end code
        }
        const int code = static_cast<int>(bits & codeMask);
        bits >>= codeSize;
        bitCount -= codeSize;

        if (code == clear) {
            codeSize = minCodeSize + 1;
            codeMask = (1u << codeSize) - 1;
            next = clear + 2;
            prev = -1;
            continue;
        }
        if (code == end)
            break;
        if (prev < 0) {
            if (code >= clear)
                break; // a string that cannot be there yet
            out[written++] = static_cast<uint8_t>(code);
            prev = code;
            continue;
        }
        if (code > next || (code == next && next >= kMaxCodes))
            break; // a code not defined: the stream is damaged
        if (next < kMaxCodes) {
            // The previous string plus the first byte of this one; when this
            // code is the one being defined, its first byte is the
            // previous string's.
            const std::size_t n = static_cast<std::size_t>(next);
            const std::size_t p = static_cast<std::size_t>(prev);
            prefix[n] = static_cast<uint16_t>(prev);
            suffix[n] = first[code == next ? p : static_cast<std::size_t>(code)];
            first[n] = first[p];
            lengths[n] = static_cast<uint16_t>(lengths[p] + 1);
            ++next;
            if (next == (1 << codeSize) && codeSize < kMaxCodeBits) {
                ++codeSize;
                codeMask = (1u << codeSize) - 1;
            }
        }
        prev = code;

        std::size_t len = lengths[static_cast<std::size_t>(code)];
        int k = code;
        if (len > outSize - written) {
            // Only the head of the string fits: drop its tail.
            for (std::size_t drop = len - (outSize - written); drop > 0; --drop)
                k = prefix[static_cast<std::size_t>(k)];
            len = outSize - written;
        }
        uint8_t* p = out + written + len - 1;
        while (k >= clear) {
            *p-- = suffix[static_cast<std::size_t>(k)];
            k = prefix[static_cast<std::size_t>(k)];
        }
        *p = static_cast<uint8_t>(k);
        written += len;
    }
    return written;
}

namespace {

// Packs codes into 254-byte data sub-blocks.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<uint8_t>& out) : out_(out) {}

    int width = 9;

    void Put(int code)
    {
        acc_ |= static_cast<uint32_t>(code) << pending_;
        pending_ += width;
        while (pending_ >= 8) {
            block_[index_++] = static_cast<uint8_t>(acc_);
            acc_ >>= 8;
            pending_ -= 8;
            if (index_ == 255) {
                block_[0] = 254;
                out_.insert(out_.end(), block_.begin(), block_.end());
                index_ = 1;
            }
        }
    }

    void Flush()
    {
        if (pending_ > 0) {
            block_[index_++] = static_cast<uint8_t>(acc_);
            acc_ = 0;
            pending_ = 0;
        }
        if (index_ > 1) {
            block_[0] = static_cast<uint8_t>(index_ - 1);
            out_.insert(out_.end(), block_.begin(), block_.begin() + index_);
            index_ = 1;
        }
    }

private:
    std::vector<uint8_t>& out_;
    std::array<uint8_t, 255> block_{};
    std::size_t index_ = 1;
    uint32_t acc_ = 0;
    int pending_ = 0;
};

} // namespace

void LzwEncode(const uint8_t* pixels, int width, int height, std::ptrdiff_t stride, std::vector<uint8_t>& out)
{
    // Open addressing over a prime number of slots, keyed by pixel and
    // prefix code.
    constexpr int kSlots = 5003;
    constexpr int kClear = 256;
    constexpr int kEnd = 257;
    std::array<int32_t, kSlots> keys;
    std::array<int32_t, kSlots> codes;
    keys.fill(-1);

    CodeWriter w(out);
    int largest = 511;
    int nextCode = 258;
    w.Put(kClear);
    if (width <= 0 || height <= 0) {
        w.Put(kEnd);
        w.Flush();
        return;
    }
    int prefix = pixels[0];
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = pixels + y * stride;
        for (int x = y == 0 ? 1 : 0; x < width; ++x) {
            const int c = row[x];
            const int32_t key = (c << 12) + prefix;
            int slot = (c << 4) ^ prefix;
            if (keys[static_cast<std::size_t>(slot)] == key) {
                prefix = codes[static_cast<std::size_t>(slot)];
                continue;
            }
            if (keys[static_cast<std::size_t>(slot)] >= 0) {
                const int step = slot == 0 ? 1 : kSlots - slot;
                bool found = false;
                do {
                    slot -= step;
                    if (slot < 0)
                        slot += kSlots;
                    if (keys[static_cast<std::size_t>(slot)] == key) {
                        found = true;
                        break;
                    }
                } while (keys[static_cast<std::size_t>(slot)] > 0);
                if (found) {
                    prefix = codes[static_cast<std::size_t>(slot)];
                    continue;
                }
            }
            w.Put(prefix);
            prefix = c;
            codes[static_cast<std::size_t>(slot)] = nextCode;
            keys[static_cast<std::size_t>(slot)] = key;
            if (nextCode > largest) {
                if (nextCode == 4096) {
                    w.Put(kClear); // still at 12 bits
                    keys.fill(-1);
                    w.width = 9;
                    largest = 511;
                    nextCode = 257;
                } else {
                    ++w.width;
                    largest = (1 << w.width) - 1;
                }
            }
            ++nextCode;
        }
    }
    w.Put(prefix);
    w.Put(kEnd);
    w.Flush();
}

} // namespace widgets
