#pragma once

#include <cstdint>

namespace tableserver {

// A small deterministic random source (SplitMix64). The standard library's
// engines are portable but its distributions and shuffle are not, so every
// draw the server makes goes through this class: the same seed gives the
// same deal with any compiler.
class Rng {
public:
    explicit Rng(uint64_t seed) : state_(seed) {}

    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in 0 .. n-1 (n above 0), without modulo bias.
    int Below(int n)
    {
        const uint64_t range = static_cast<uint64_t>(n);
        const uint64_t limit = UINT64_MAX - UINT64_MAX % range;
        uint64_t v;
        do {
            v = Next();
        } while (v >= limit);
        return static_cast<int>(v % range);
    }

private:
    uint64_t state_;
};

} // namespace tableserver
