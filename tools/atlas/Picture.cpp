#include "Picture.h"

#include <algorithm>
#include <cstdio>
#include <png.h>

namespace atlas {

namespace {

// The libpng work, free of C++ objects: its errors longjmp across these frames.
bool Encode(std::FILE* f, const Picture& p, png_bytep row)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            const std::uint32_t c = p.rgb[static_cast<std::size_t>(y * p.width + x)];
            row[x * 3] = static_cast<png_byte>(c >> 16);
            row[x * 3 + 1] = static_cast<png_byte>(c >> 8);
            row[x * 3 + 2] = static_cast<png_byte>(c);
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

Picture Scaled(const LcdPicture& lcd, int scale)
{
    Picture p;
    p.width = LcdPicture::kWidth * scale;
    p.height = LcdPicture::kHeight * scale;
    p.rgb.resize(static_cast<std::size_t>(p.width * p.height));
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            p.rgb[static_cast<std::size_t>(y * p.width + x)] = lcd.rgb[(y / scale) * LcdPicture::kWidth + x / scale];
        }
    }
    return p;
}

void Frame(Picture& p, const GUI_BOX& box, int scale, int thickness, std::uint32_t colour)
{
    const int x0 = std::max(0, box.x0 * scale);
    const int y0 = std::max(0, box.y0 * scale);
    const int x1 = std::min(p.width - 1, (box.x1 + 1) * scale - 1);
    const int y1 = std::min(p.height - 1, (box.y1 + 1) * scale - 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            if (x - x0 < thickness || x1 - x < thickness || y - y0 < thickness || y1 - y < thickness) {
                p.rgb[static_cast<std::size_t>(y * p.width + x)] = colour;
            }
        }
    }
}

bool WritePng(const std::string& path, const Picture& p)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(p.width) * 3);
    const bool ok = Encode(f, p, row.data());
    return std::fclose(f) == 0 && ok;
}

} // namespace atlas
