// Device pictures: 0xRRGGBB pixel arrays, read from and written to BMP files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb; // rows top-down

    Picture() = default;
    Picture(int w, int h, std::uint32_t fill = 0) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h, fill) {}
    bool empty() const { return width <= 0 || height <= 0; }
    std::uint32_t at(int x, int y) const { return rgb[static_cast<std::size_t>(y) * width + x]; }
    void set(int x, int y, std::uint32_t c) { rgb[static_cast<std::size_t>(y) * width + x] = c; }
};

// Device pictures larger than this are refused as oversized: the window of
// one at zoom 4 must stay within reason (4096 x 4096 took over a gigabyte).
inline constexpr int kPictureMaxSide = 1024;

// Uncompressed BMP with 8 (palette), 24 or 32 bits per pixel, rows in either
// order. Any inconsistency is refused with a reason; nothing is read beyond
// `size` bytes.
bool BmpDecode(const std::uint8_t* data, std::size_t size, Picture& out, std::string& error);
// Only a regular file is read.
bool BmpReadFile(const std::string& path, Picture& out, std::string& error);

// 8-bit palette BMP when the picture has at most 256 colours, else 24-bit.
std::vector<std::uint8_t> BmpEncode(const Picture& picture);
bool BmpWriteFile(const std::string& path, const Picture& picture);
