// The monkey's random numbers: SplitMix64 and integer arithmetic only, so a
// seed gives the same stream with every compiler and library (the standard
// distributions may differ between library versions).
#pragma once

#include <cstdint>

class MonkeyRng {
  public:
    explicit MonkeyRng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = state_ += 0x9E3779B97F4A7C15ULL;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // 0 .. n-1 (0 when n is 0): the high half of the 128-bit product.
    std::uint64_t below(std::uint64_t n) { return HighProduct(next(), n); }

    // lo .. hi, both included.
    std::uint64_t between(std::uint64_t lo, std::uint64_t hi) { return lo + below(hi - lo + 1); }

    // lo .. hi, each power of two as likely as the next: as many holds of
    // milliseconds as of minutes.
    std::uint64_t spread(std::uint64_t lo, std::uint64_t hi)
    {
        const int top = Width(hi);
        const int bottom = Width(lo);
        const int width = bottom + static_cast<int>(below(static_cast<std::uint64_t>(top - bottom + 1)));
        const std::uint64_t from = width == 0 ? 0 : std::uint64_t{1} << (width - 1);
        const std::uint64_t to = width >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << width) - 1;
        const std::uint64_t a = from < lo ? lo : from;
        const std::uint64_t b = to > hi ? hi : to;
        return between(a, b);
    }

    // True with a chance of `percent` in 100.
    bool chance(unsigned percent) { return below(100) < percent; }

    static std::uint64_t HighProduct(std::uint64_t a, std::uint64_t b)
    {
        const std::uint64_t aLo = a & 0xFFFFFFFF;
        const std::uint64_t aHi = a >> 32;
        const std::uint64_t bLo = b & 0xFFFFFFFF;
        const std::uint64_t bHi = b >> 32;
        const std::uint64_t lo = aLo * bLo;
        const std::uint64_t mid1 = aHi * bLo + (lo >> 32);
        const std::uint64_t mid2 = aLo * bHi + (mid1 & 0xFFFFFFFF);
        return aHi * bHi + (mid1 >> 32) + (mid2 >> 32);
    }

  private:
    static int Width(std::uint64_t v)
    {
        int w = 0;
        for (; v != 0; v >>= 1) {
            ++w;
        }
        return w;
    }

    std::uint64_t state_;
};
