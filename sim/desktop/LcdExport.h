// The LCD for the clipboard: a device-independent bitmap with 5 bits per
// channel, rows bottom-up, as other programs expect a pasted picture.
#pragma once

#include <cstdint>
#include <vector>

inline std::uint16_t Rgb555(std::uint32_t rgb)
{
    auto five = [](std::uint32_t c8) { return static_cast<std::uint16_t>((c8 * 31 + 127) / 255); };
    return static_cast<std::uint16_t>(five((rgb >> 16) & 0xFF) << 10 | five((rgb >> 8) & 0xFF) << 5 | five(rgb & 0xFF));
}

// BITMAPINFOHEADER and 16-bit pixels of a top-down 0xRRGGBB picture.
std::vector<std::uint8_t> LcdDib555(const std::uint32_t* rgb, int width, int height);
