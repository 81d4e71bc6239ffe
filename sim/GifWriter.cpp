#include "sim/GifWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gif_lib.h>
#include <unistd.h>
#include <unordered_map>

namespace {

// A GIF delay is a u16 of hundredths of a second.
constexpr std::uint64_t kLongestDelayCs = 65535;

int PowerOfTwoAtLeast(int n)
{
    int size = 2;
    while (size < n) {
        size *= 2;
    }
    return size;
}

} // namespace

GifWriter::~GifWriter()
{
    if (gif_ != nullptr) {
        std::string ignored;
        close(pendingMs_, ignored);
    }
}

bool GifWriter::fail(const std::string& what)
{
    if (error_.empty()) {
        error_ = "cannot write " + path_ + ": " + what;
    }
    return false;
}

bool GifWriter::open(const std::string& path, int width, int height, std::int64_t transparent, std::string& error)
{
    path_ = path;
    error_.clear();
    width_ = width;
    height_ = height;
    transparent_ = transparent;
    pending_ = false;
    written_ = 0;
    shown_.assign(static_cast<std::size_t>(width) * height, 0);
    // Opened here, not by the library, so that the umask decides who may read it.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    int code = 0;
    gif_ = EGifOpenFileHandle(fd, &code);
    if (gif_ == nullptr) {
        ::close(fd);
        error = "cannot write " + path + ": " + GifErrorString(code);
        return false;
    }
    EGifSetGifVersion(gif_, true);
    // Shown over and over, as a slide expects.
    static const unsigned char kLoop[] = {1, 0, 0};
    if (EGifPutScreenDesc(gif_, width, height, 8, 0, nullptr) == GIF_ERROR ||
        EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 11, "NETSCAPE2.0") == GIF_ERROR ||
        EGifPutExtensionBlock(gif_, 3, kLoop) == GIF_ERROR || EGifPutExtensionTrailer(gif_) == GIF_ERROR) {
        fail(GifErrorString(gif_->Error));
        close(0, error);
        error = error_;
        return false;
    }
    return true;
}

bool GifWriter::frame(const std::uint32_t* rgb, std::uint64_t ms)
{
    if (gif_ == nullptr) {
        return false;
    }
    const std::size_t n = static_cast<std::size_t>(width_) * height_;
    if (pending_) {
        if (std::equal(rgb, rgb + n, next_.begin())) {
            return true;
        }
        // A picture shown for less than a hundredth never reaches a viewer.
        if ((ms - pendingMs_ + 5) / 10 > 0 && !flush(ms)) {
            return false;
        }
    }
    next_.assign(rgb, rgb + n);
    pendingMs_ = ms;
    pending_ = true;
    return true;
}

bool GifWriter::flush(std::uint64_t untilMs)
{
    std::uint64_t delay = std::max<std::uint64_t>((untilMs - pendingMs_ + 5) / 10, 1);
    int x0 = width_;
    int y0 = height_;
    int x1 = -1;
    int y1 = -1;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * width_ + x;
            if (written_ == 0 || next_[i] != shown_[i]) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
        }
    }
    if (x1 < 0) {
        x0 = x1 = y0 = y1 = 0; // nothing changed: one pixel carries the delay
    }
    for (;;) {
        const auto part = static_cast<int>(std::min(delay, kLongestDelayCs));
        if (!put(next_.data(), x0, y0, x1, y1, part)) {
            return false;
        }
        shown_ = next_;
        delay -= static_cast<std::uint64_t>(part);
        if (delay == 0) {
            break;
        }
        x0 = x1 = y0 = y1 = 0;
    }
    pending_ = false;
    return true;
}

bool GifWriter::put(const std::uint32_t* rgb, int x0, int y0, int x1, int y1, int delayCs)
{
    const int w = x1 - x0 + 1;
    const int h = y1 - y0 + 1;
    std::vector<GifPixelType> pixels(static_cast<std::size_t>(w) * h);
    std::unordered_map<std::uint32_t, int> index;
    std::vector<std::uint32_t> colours;
    int transparentIndex = NO_TRANSPARENT_COLOR;
    bool tooMany = false;
    for (int y = y0; y <= y1 && !tooMany; ++y) {
        for (int x = x0; x <= x1; ++x) {
            const std::uint32_t c = rgb[static_cast<std::size_t>(y) * width_ + x];
            if (index.emplace(c, static_cast<int>(colours.size())).second) {
                colours.push_back(c);
                if (colours.size() > 256) {
                    tooMany = true;
                    break;
                }
            }
        }
    }
    std::vector<GifColorType> map;
    if (!tooMany) {
        map.resize(static_cast<std::size_t>(PowerOfTwoAtLeast(static_cast<int>(colours.size()))));
        for (std::size_t i = 0; i < colours.size(); ++i) {
            map[i] = GifColorType{static_cast<GifByteType>(colours[i] >> 16), static_cast<GifByteType>(colours[i] >> 8),
                                  static_cast<GifByteType>(colours[i])};
        }
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                pixels[static_cast<std::size_t>(y - y0) * w + (x - x0)] =
                    static_cast<GifPixelType>(index[rgb[static_cast<std::size_t>(y) * width_ + x]]);
            }
        }
        const auto key = transparent_ >= 0 ? index.find(static_cast<std::uint32_t>(transparent_)) : index.end();
        if (key != index.end()) {
            transparentIndex = key->second;
        }
    } else {
        // A picture of its own with many colours: the library's median cut,
        // the background keeping an index of its own.
        std::vector<GifByteType> r(pixels.size());
        std::vector<GifByteType> g(pixels.size());
        std::vector<GifByteType> b(pixels.size());
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) {
                const std::uint32_t c = rgb[static_cast<std::size_t>(y) * width_ + x];
                const std::size_t i = static_cast<std::size_t>(y - y0) * w + (x - x0);
                r[i] = static_cast<GifByteType>(c >> 16);
                g[i] = static_cast<GifByteType>(c >> 8);
                b[i] = static_cast<GifByteType>(c);
            }
        }
        int size = transparent_ >= 0 ? 128 : 256;
        map.resize(256);
        if (GifQuantizeBuffer(static_cast<unsigned>(w), static_cast<unsigned>(h), &size, r.data(), g.data(), b.data(),
                              pixels.data(), map.data()) == GIF_ERROR) {
            return fail("cannot reduce the picture to 256 colours");
        }
        if (transparent_ >= 0) {
            transparentIndex = 255;
            for (int y = y0; y <= y1; ++y) {
                for (int x = x0; x <= x1; ++x) {
                    if (rgb[static_cast<std::size_t>(y) * width_ + x] == static_cast<std::uint32_t>(transparent_)) {
                        pixels[static_cast<std::size_t>(y - y0) * w + (x - x0)] = 255;
                    }
                }
            }
        }
    }
    GraphicsControlBlock gcb{};
    gcb.DisposalMode = DISPOSE_DO_NOT;
    gcb.UserInputFlag = false;
    gcb.DelayTime = delayCs;
    gcb.TransparentColor = transparentIndex;
    GifByteType extension[4];
    const auto length = static_cast<int>(EGifGCBToExtension(&gcb, extension));
    ColorMapObject* colourMap = GifMakeMapObject(static_cast<int>(map.size()), map.data());
    if (colourMap == nullptr) {
        return fail("out of memory");
    }
    bool ok = EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, length, extension) != GIF_ERROR &&
              EGifPutImageDesc(gif_, x0, y0, w, h, false, colourMap) != GIF_ERROR;
    for (int y = 0; ok && y < h; ++y) {
        ok = EGifPutLine(gif_, pixels.data() + static_cast<std::size_t>(y) * w, w) != GIF_ERROR;
    }
    GifFreeMapObject(colourMap);
    if (!ok) {
        return fail(errno != 0 ? std::strerror(errno) : GifErrorString(gif_->Error));
    }
    ++written_;
    return true;
}

bool GifWriter::close(std::uint64_t endMs, std::string& error)
{
    if (gif_ == nullptr) {
        error = error_;
        return error_.empty();
    }
    if (error_.empty()) {
        if (!pending_ && written_ == 0) {
            next_.assign(static_cast<std::size_t>(width_) * height_, 0); // a file of no frame is no picture
            pendingMs_ = endMs;
            pending_ = true;
        }
        if (pending_) {
            flush(std::max(endMs, pendingMs_));
        }
    }
    int code = 0;
    errno = 0;
    if (EGifCloseFile(gif_, &code) == GIF_ERROR) {
        fail(errno != 0 ? std::strerror(errno) : GifErrorString(code));
    }
    gif_ = nullptr;
    error = error_;
    return error_.empty();
}
