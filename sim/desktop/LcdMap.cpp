#include "sim/desktop/LcdMap.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lcdmap {

std::string DefaultName(int display)
{
    return display == 0 ? "LumUILCDMap" : "LumUILCDMap" + std::to_string(display);
}

std::size_t RowBytes(int width)
{
    return (static_cast<std::size_t>(width) * 4 + 3) & ~std::size_t{3};
}

} // namespace lcdmap

namespace {

std::string ShmPath(const std::string& name)
{
    return name.empty() || name[0] != '/' ? "/" + name : name;
}

// Opens the object; -1 with `error` (and errno) set when it cannot. A name
// taken by a FIFO must not block the open, and only a regular object is a map.
int OpenObject(const std::string& name, int flags, std::string& error)
{
    const int fd = ::shm_open(ShmPath(name).c_str(), flags | O_NONBLOCK, 0644);
    const int openErrno = errno;
    // What is there, also when the open failed (a directory is EINVAL to shm_open).
    const int probe = fd >= 0 ? fd : ::shm_open(ShmPath(name).c_str(), O_RDONLY | O_NONBLOCK, 0);
    struct stat st {};
    if (probe >= 0 && ::fstat(probe, &st) == 0 && !S_ISREG(st.st_mode)) {
        error = "the LCD map name '" + name + "' is taken by something that is no shared memory (" +
                (S_ISDIR(st.st_mode)    ? "a directory"
                 : S_ISFIFO(st.st_mode) ? "a FIFO"
                                        : "not a regular file") +
                ")";
        ::close(probe);
        errno = EINVAL;
        return -1;
    }
    if (probe >= 0 && probe != fd) {
        ::close(probe);
    }
    if (fd < 0) {
        error = "shm_open " + name + ": " + std::strerror(openErrno);
        errno = openErrno;
    }
    return fd;
}

// Watchers read while the application writes, without a lock: every access
// is a relaxed atomic word, the counter orders them.
std::uint32_t Load(const std::uint32_t* p, std::memory_order order = std::memory_order_relaxed)
{
    return std::atomic_ref<std::uint32_t>(*const_cast<std::uint32_t*>(p)).load(order);
}

void Store(std::uint32_t* p, std::uint32_t v, std::memory_order order = std::memory_order_relaxed)
{
    std::atomic_ref<std::uint32_t>(*p).store(v, order);
}

} // namespace

LcdMap::~LcdMap()
{
    close(false);
}

std::uint32_t* LcdMap::word(std::size_t offset) const
{
    return reinterpret_cast<std::uint32_t*>(base_ + offset);
}

std::uint32_t* LcdMap::row(int y) const
{
    return word(lcdmap::kHeaderSize + lcdmap::RowBytes(width_) * static_cast<std::size_t>(y));
}

bool LcdMap::create(const std::string& name, int width, int height, std::string& error)
{
    close(false);
    busy_ = false;
    const std::size_t size = lcdmap::kHeaderSize + lcdmap::RowBytes(width) * static_cast<std::size_t>(height);
    int fd = OpenObject(name, O_RDWR | O_CREAT | O_EXCL, error);
    const bool created = fd >= 0;
    if (fd < 0 && errno == EEXIST) {
        fd = OpenObject(name, O_RDWR, error);
    }
    if (fd < 0) {
        return false;
    }
    // A live simulator holds its object locked: a second one must not draw
    // into it, nor remove it when it ends. A leftover of a crashed one is free.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        busy_ = errno == EWOULDBLOCK;
        error = busy_ ? "the LCD map '" + name + "' is in use by another simulator"
                      : "flock " + name + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    struct stat st {};
    const bool fresh = ::fstat(fd, &st) != 0 || static_cast<std::size_t>(st.st_size) != size;
    if (fresh && ::ftruncate(fd, static_cast<off_t>(size)) != 0) {
        error = "ftruncate " + name + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    void* p = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (p == MAP_FAILED) {
        error = "mmap " + name + ": " + std::strerror(errno);
        ::close(fd);
        return false;
    }
    base_ = static_cast<std::uint8_t*>(p);
    size_ = size;
    lockFd_ = fd;
    writable_ = true;
    created_ = created;
    width_ = width;
    height_ = height;
    name_ = name;
    if (fresh || std::memcmp(base_, lcdmap::kMagic, sizeof lcdmap::kMagic) != 0) {
        std::memset(base_, 0, size_);
    }
    std::memcpy(base_, lcdmap::kMagic, sizeof lcdmap::kMagic);
    const auto w = static_cast<std::uint32_t>(width);
    const auto h = static_cast<std::uint32_t>(height);
    Store(word(lcdmap::kWidth), w);
    Store(word(lcdmap::kHeight), h);
    Store(word(lcdmap::kVirtualWidth), w);
    Store(word(lcdmap::kVirtualHeight), h);
    Store(word(lcdmap::kBitsPerPixel), 24);
    Store(word(lcdmap::kColours), 0x1000000);
    Store(word(lcdmap::kFixedPalette), lcdmap::kPaletteMode888);
    Store(word(lcdmap::kPointerX), static_cast<std::uint32_t>(-1));
    Store(word(lcdmap::kPointerY), static_cast<std::uint32_t>(-1));
    // Bitmap info header: top-down rows of 32-bit pixels; no palette at 24 bits.
    std::uint8_t* dib = base_ + lcdmap::kDibHeader;
    const std::int32_t fields[] = {40, static_cast<std::int32_t>(w), -static_cast<std::int32_t>(h)};
    std::memcpy(dib, fields, sizeof fields);
    const std::uint16_t planes = 1;
    const std::uint16_t bits = 32;
    std::memcpy(dib + 12, &planes, 2);
    std::memcpy(dib + 14, &bits, 2);
    const std::uint32_t imageSize = static_cast<std::uint32_t>(lcdmap::RowBytes(width) * h);
    std::memcpy(dib + 20, &imageSize, 4);
    return true;
}

bool LcdMap::attach(const std::string& name, std::string& error)
{
    close(false);
    const int fd = OpenObject(name, O_RDONLY, error);
    if (fd < 0) {
        if (errno == ENOENT) {
            error = "no LCD map '" + name + "' (" + std::strerror(errno) + "): is the simulator running?";
        }
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || static_cast<std::size_t>(st.st_size) < lcdmap::kHeaderSize) {
        error = "LCD map '" + name + "' is smaller than its header";
        ::close(fd);
        return false;
    }
    const auto size = static_cast<std::size_t>(st.st_size);
    void* p = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    ::close(fd);
    if (p == MAP_FAILED) {
        error = "mmap " + name + ": " + std::strerror(errno);
        return false;
    }
    base_ = static_cast<std::uint8_t*>(p);
    size_ = size;
    writable_ = false;
    name_ = name;
    const std::uint32_t w = field(lcdmap::kVirtualWidth);
    const std::uint32_t h = field(lcdmap::kVirtualHeight);
    if (std::memcmp(base_, lcdmap::kMagic, sizeof lcdmap::kMagic) != 0 || w == 0 || h == 0 || w > 4096 || h > 4096 ||
        lcdmap::kHeaderSize + lcdmap::RowBytes(static_cast<int>(w)) * h > size) {
        error = "LCD map '" + name + "' has no valid header";
        close(false);
        return false;
    }
    width_ = static_cast<int>(w);
    height_ = static_cast<int>(h);
    return true;
}

void LcdMap::close(bool unlink)
{
    if (base_ != nullptr) {
        ::munmap(base_, size_);
        base_ = nullptr;
        if (unlink && writable_) {
            ::shm_unlink(ShmPath(name_).c_str());
        }
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

void LcdMap::setPixel(int x, int y, std::uint32_t rgb)
{
    if (base_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    Store(row(y) + x, rgb & 0xFFFFFF);
    std::uint32_t* counter = word(lcdmap::kModifications);
    Store(counter, Load(counter) + 1, std::memory_order_release);
}

void LcdMap::writeBlock(int x, int y, int w, int h, const std::uint32_t* rgb)
{
    if (base_ == nullptr) {
        return;
    }
    const int x0 = std::max(x, 0);
    const int x1 = std::min(x + w, width_);
    const int y0 = std::max(y, 0);
    const int y1 = std::min(y + h, height_);
    std::uint32_t count = 0;
    for (int yy = y0; yy < y1; ++yy) {
        std::uint32_t* dst = row(yy);
        const std::uint32_t* src = rgb + static_cast<std::size_t>(yy - y) * w - x;
        for (int xx = x0; xx < x1; ++xx) {
            Store(dst + xx, src[xx] & 0xFFFFFF);
            ++count;
        }
    }
    // The same count as one LCDSIM_SetPixel per pixel, published once.
    std::uint32_t* counter = word(lcdmap::kModifications);
    Store(counter, Load(counter) + count, std::memory_order_release);
}

std::uint32_t LcdMap::pixel(int x, int y) const
{
    if (base_ == nullptr || x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    return Load(row(y) + x);
}

void LcdMap::copyPixels(std::uint32_t* out) const
{
    for (int y = 0; y < height_; ++y) {
        const std::uint32_t* src = row(y);
        for (int x = 0; x < width_; ++x) {
            *out++ = Load(src + x);
        }
    }
}

std::uint32_t LcdMap::modifications() const
{
    return base_ == nullptr ? 0 : Load(word(lcdmap::kModifications), std::memory_order_acquire);
}

std::uint32_t LcdMap::field(std::size_t offset) const
{
    return base_ == nullptr || offset + 4 > lcdmap::kHeaderSize ? 0 : Load(word(offset));
}

void LcdMap::setPointer(int x, int y, std::uint32_t buttons)
{
    if (base_ == nullptr || !writable_) {
        return;
    }
    Store(word(lcdmap::kPointerX), static_cast<std::uint32_t>(x));
    Store(word(lcdmap::kPointerY), static_cast<std::uint32_t>(y));
    Store(word(lcdmap::kPointerButtons), buttons);
}
