#include "sim/FrameRecorder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <png.h>

namespace {

// The libpng work, free of C++ objects: its errors longjmp across these frames.
bool WritePng(std::FILE* f, const std::uint32_t* rgb, int width, int height, std::int64_t transparent, png_byte* row)
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
    const int channels = transparent >= 0 ? 4 : 3;
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t c = rgb[static_cast<std::size_t>(y) * width + x];
            png_byte* p = row + static_cast<std::size_t>(x) * channels;
            p[0] = static_cast<png_byte>(c >> 16);
            p[1] = static_cast<png_byte>(c >> 8);
            p[2] = static_cast<png_byte>(c);
            if (channels == 4) {
                p[3] = c == static_cast<std::uint32_t>(transparent) ? 0 : 255;
            }
        }
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

} // namespace

bool PngWrite(const std::string& path, const std::uint32_t* rgb, int width, int height, std::int64_t transparent,
              std::string& error)
{
    // Written beside and renamed, so that a watcher never reads half a picture.
    const std::string part = path + ".part";
    std::FILE* f = std::fopen(part.c_str(), "wb");
    if (f == nullptr) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::vector<png_byte> row(static_cast<std::size_t>(width) * 4);
    const bool written = WritePng(f, rgb, width, height, transparent, row.data());
    const int saved = errno;
    if (std::fclose(f) != 0 || !written || std::rename(part.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(written ? errno : saved);
        std::remove(part.c_str());
        return false;
    }
    return true;
}

FrameRecorder::~FrameRecorder()
{
    std::string ignored;
    stop(lastMs_, ignored);
}

bool FrameRecorder::start(Kind kind, const std::string& path, int width, int height, std::int64_t transparent,
                          std::uint64_t ms, std::string& error)
{
    std::string ignored;
    stop(ms, ignored);
    kind_ = kind;
    path_ = path;
    error_.clear();
    width_ = width;
    height_ = height;
    transparent_ = transparent;
    any_ = false;
    frames_ = 0;
    lastMs_ = ms;
    if (kind == Kind::Gif) {
        if (!gif_.open(path, width, height, transparent, error)) {
            return false;
        }
    } else {
        std::error_code ec;
        if (std::filesystem::exists(path, ec) && !std::filesystem::is_directory(path, ec)) {
            error = "cannot write PNG frames into " + path + ": it is no folder";
            return false;
        }
        std::filesystem::create_directory(path, ec);
        if (ec) {
            error = "cannot write PNG frames into " + path + ": " + ec.message();
            return false;
        }
        const std::string index = (std::filesystem::path(path) / kIndexName).string();
        index_ = std::fopen(index.c_str(), "w");
        if (index_ == nullptr) {
            error = "cannot write " + index + ": " + std::strerror(errno);
            return false;
        }
        std::fputs("# picture, shown from (ms of panel time), for (ms)\n", index_);
    }
    on_ = true;
    return true;
}

bool FrameRecorder::endPngFrame(std::uint64_t ms)
{
    char line[64];
    std::snprintf(line, sizeof line, "frame-%05d.png %llu %llu\n", frames_, static_cast<unsigned long long>(lastMs_),
                  static_cast<unsigned long long>(ms - lastMs_));
    if (std::fputs(line, index_) < 0) {
        error_ = "cannot write " + path_ + "/" + kIndexName + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

bool FrameRecorder::frame(const std::uint32_t* rgb, std::uint64_t ms)
{
    if (!on_ || !error_.empty()) {
        return false;
    }
    const std::size_t n = static_cast<std::size_t>(width_) * height_;
    if (any_ && std::equal(rgb, rgb + n, last_.begin())) {
        return true;
    }
    ms = std::max(ms, lastMs_);
    if (kind_ == Kind::Gif) {
        if (!gif_.frame(rgb, ms)) {
            std::string error;
            gif_.close(ms, error);
            error_ = error;
            return false;
        }
    } else {
        if (any_ && !endPngFrame(ms)) {
            return false;
        }
        char name[32];
        std::snprintf(name, sizeof name, "frame-%05d.png", frames_ + 1);
        if (!PngWrite((std::filesystem::path(path_) / name).string(), rgb, width_, height_, transparent_, error_)) {
            return false;
        }
    }
    last_.assign(rgb, rgb + n);
    any_ = true;
    lastMs_ = ms;
    ++frames_;
    return true;
}

bool FrameRecorder::stop(std::uint64_t ms, std::string& error)
{
    if (!on_) {
        error.clear();
        return true;
    }
    on_ = false;
    ms = std::max(ms, lastMs_);
    if (kind_ == Kind::Gif) {
        std::string closing;
        if (!gif_.close(ms, closing) && error_.empty()) {
            error_ = closing;
        }
    } else {
        if (any_ && error_.empty()) {
            endPngFrame(ms);
        }
        if (std::fclose(index_) != 0 && error_.empty()) {
            error_ = "cannot write " + path_ + "/" + kIndexName + ": " + std::strerror(errno);
        }
        index_ = nullptr;
    }
    error = error_;
    return error_.empty();
}
