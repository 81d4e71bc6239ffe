// LCD pictures as PNG files: screenshots, goldens and their differences.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LcdPicture {
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 160;
    std::vector<std::uint32_t> rgb = std::vector<std::uint32_t>(kWidth * kHeight); // 0xRRGGBB, rows top-down
};

// Writes the picture as an 8-bit RGB PNG. False (and errno) on failure.
bool LcdPngWrite(const std::string& path, const LcdPicture& picture);
// Reads a 240 x 160 PNG (any colour type libpng can expand to RGB).
bool LcdPngRead(const std::string& path, LcdPicture& picture, std::string& error);

// Number of differing pixels; `diff` shows them red over a dimmed copy of `expected`.
int LcdCompare(const LcdPicture& expected, const LcdPicture& actual, LcdPicture& diff);

// Compares with a golden file. When $PANEL_UPDATE_GOLDENS is set, (re)writes
// the golden instead. On a mismatch or a missing golden writes
// <outputStem>.actual.png and <outputStem>.diff.png and explains in `message`.
bool LcdMatchesGolden(const LcdPicture& actual, const std::string& golden, const std::string& outputStem,
                      std::string& message);
