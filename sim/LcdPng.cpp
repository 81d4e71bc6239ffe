#include "sim/LcdPng.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <png.h>

namespace {

struct File {
    std::FILE* f;
    ~File()
    {
        if (f != nullptr) {
            std::fclose(f);
        }
    }
};

} // namespace

namespace {

// The libpng work, free of C++ objects: its errors longjmp across these frames.
bool WritePng(std::FILE* f, const std::uint32_t* rgb)
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
    png_byte row[LcdPicture::kWidth * 3];
    png_init_io(png, f);
    png_set_IHDR(png, info, LcdPicture::kWidth, LcdPicture::kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < LcdPicture::kHeight; ++y) {
        for (int x = 0; x < LcdPicture::kWidth; ++x) {
            const std::uint32_t c = rgb[y * LcdPicture::kWidth + x];
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

enum ReadResult { kRead, kNotPng, kWrongSize, kDamaged };

ReadResult ReadPng(std::FILE* f, std::uint32_t* rgb)
{
    png_byte signature[8];
    if (std::fread(signature, 1, sizeof signature, f) != sizeof signature || png_sig_cmp(signature, 0, 8) != 0) {
        return kNotPng;
    }
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return kDamaged;
    }
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return kDamaged;
    }
    png_init_io(png, f);
    png_set_sig_bytes(png, 8);
    png_read_info(png, info);
    if (png_get_image_width(png, info) != LcdPicture::kWidth ||
        png_get_image_height(png, info) != LcdPicture::kHeight) {
        png_destroy_read_struct(&png, &info, nullptr);
        return kWrongSize;
    }
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_strip_alpha(png);
    png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    png_byte row[LcdPicture::kWidth * 3];
    if (png_get_rowbytes(png, info) != sizeof row) {
        png_destroy_read_struct(&png, &info, nullptr);
        return kDamaged;
    }
    for (int y = 0; y < LcdPicture::kHeight; ++y) {
        png_read_row(png, row, nullptr);
        for (int x = 0; x < LcdPicture::kWidth; ++x) {
            rgb[y * LcdPicture::kWidth + x] =
                static_cast<std::uint32_t>(row[x * 3] << 16 | row[x * 3 + 1] << 8 | row[x * 3 + 2]);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return kRead;
}

} // namespace

bool LcdPngWrite(const std::string& path, const LcdPicture& picture)
{
    File file{std::fopen(path.c_str(), "wb")};
    return file.f != nullptr && WritePng(file.f, picture.rgb.data()) && std::fflush(file.f) == 0;
}

bool LcdPngRead(const std::string& path, LcdPicture& picture, std::string& error)
{
    File file{std::fopen(path.c_str(), "rb")};
    if (file.f == nullptr) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    switch (ReadPng(file.f, picture.rgb.data())) {
    case kRead:
        return true;
    case kNotPng:
        error = path + ": not a PNG file";
        return false;
    case kWrongSize:
        error = path + ": not a 240 x 160 picture";
        return false;
    case kDamaged:
        break;
    }
    error = path + ": damaged PNG file";
    return false;
}

int LcdCompare(const LcdPicture& expected, const LcdPicture& actual, LcdPicture& diff)
{
    int differing = 0;
    for (std::size_t i = 0; i < expected.rgb.size(); ++i) {
        if (expected.rgb[i] != actual.rgb[i]) {
            ++differing;
            diff.rgb[i] = 0xFF0000;
        } else {
            // A dimmed copy keeps the picture recognisable around the red.
            const std::uint32_t grey = (expected.rgb[i] & 0xFF) / 3 + 0x40;
            diff.rgb[i] = grey << 16 | grey << 8 | grey;
        }
    }
    return differing;
}

bool LcdMatchesGolden(const LcdPicture& actual, const std::string& golden, const std::string& outputStem,
                      std::string& message)
{
    const char* update = std::getenv("PANEL_UPDATE_GOLDENS");
    if (update != nullptr && *update != '\0' && std::strcmp(update, "0") != 0) {
        if (!LcdPngWrite(golden, actual)) {
            message = "cannot write the golden " + golden + ": " + std::strerror(errno);
            return false;
        }
        return true;
    }
    LcdPicture expected;
    std::string error;
    const std::string actualPath = outputStem + ".actual.png";
    if (!LcdPngRead(golden, expected, error)) {
        LcdPngWrite(actualPath, actual);
        message = "no usable golden (" + error + "); the screen is in " + actualPath +
                  " (set PANEL_UPDATE_GOLDENS=1 to accept it)";
        return false;
    }
    LcdPicture diff;
    const int differing = LcdCompare(expected, actual, diff);
    if (differing == 0) {
        return true;
    }
    const std::string diffPath = outputStem + ".diff.png";
    LcdPngWrite(actualPath, actual);
    LcdPngWrite(diffPath, diff);
    message = std::to_string(differing) + " pixels differ from " + golden + "; see " + actualPath + " and " + diffPath;
    return false;
}
