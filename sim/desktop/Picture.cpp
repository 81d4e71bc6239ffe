#include "sim/desktop/Picture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::uint32_t Le(const std::uint8_t* p, int bytes)
{
    std::uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

constexpr std::size_t kFileHeader = 14;

} // namespace

bool BmpDecode(const std::uint8_t* data, std::size_t size, Picture& out, std::string& error)
{
    if (size < kFileHeader + 40 || data[0] != 'B' || data[1] != 'M') {
        error = size < 2 || data[0] != 'B' || data[1] != 'M' ? "not a BMP file" : "truncated BMP header";
        return false;
    }
    const std::uint32_t offset = Le(data + 10, 4);
    const std::uint32_t infoSize = Le(data + 14, 4);
    if (infoSize < 40 || kFileHeader + infoSize > size) {
        error = "unsupported or truncated BMP info header";
        return false;
    }
    const auto width = static_cast<std::int32_t>(Le(data + 18, 4));
    const auto rawHeight = static_cast<std::int32_t>(Le(data + 22, 4));
    const std::uint32_t planes = Le(data + 26, 2);
    const std::uint32_t bits = Le(data + 28, 2);
    const std::uint32_t compression = Le(data + 30, 4);
    std::uint32_t colours = Le(data + 46, 4);
    const bool topDown = rawHeight < 0;
    // INT32_MIN has no positive counterpart.
    if (rawHeight == INT32_MIN || width <= 0 || rawHeight == 0) {
        error = "BMP without pixels";
        return false;
    }
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    if (width > kPictureMaxSide || height > kPictureMaxSide) {
        error = "BMP of " + std::to_string(width) + " x " + std::to_string(height) + " pixels is oversized (at most " +
                std::to_string(kPictureMaxSide) + " per side)";
        return false;
    }
    if (planes != 1 || (bits != 8 && bits != 24 && bits != 32)) {
        error = "BMP with " + std::to_string(bits) + " bits per pixel is not supported (8, 24 or 32)";
        return false;
    }
    // Bit fields are accepted only in the layout of plain 32-bit pixels.
    const bool plainFields = compression == 3 && bits == 32 && infoSize >= 52 && Le(data + 54, 4) == 0xFF0000 &&
                             Le(data + 58, 4) == 0x00FF00 && Le(data + 62, 4) == 0x0000FF;
    if (compression != 0 && !plainFields) {
        error = "compressed BMP is not supported";
        return false;
    }
    std::uint32_t palette[256] = {};
    if (bits == 8) {
        if (colours == 0) {
            colours = 256;
        }
        if (colours > 256 || kFileHeader + infoSize + 4ULL * colours > size) {
            error = "BMP palette damaged or truncated";
            return false;
        }
        const std::uint8_t* p = data + kFileHeader + infoSize;
        for (std::uint32_t i = 0; i < colours; ++i) {
            palette[i] = Le(p + 4 * i, 3);
        }
    }
    const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    if (offset < kFileHeader + infoSize || offset > size || stride * static_cast<std::size_t>(height) > size - offset) {
        error = "BMP pixel data truncated";
        return false;
    }
    Picture picture(width, height);
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* src = data + offset + stride * static_cast<std::size_t>(row);
        const int y = topDown ? row : height - 1 - row;
        for (int x = 0; x < width; ++x) {
            std::uint32_t c = 0;
            if (bits == 8) {
                if (src[x] >= colours) {
                    error = "BMP pixel outside its palette";
                    return false;
                }
                c = palette[src[x]];
            } else {
                c = Le(src + static_cast<std::size_t>(x) * (bits / 8), 3);
            }
            picture.set(x, y, c);
        }
    }
    out = std::move(picture);
    return true;
}

bool BmpReadFile(const std::string& path, Picture& out, std::string& error)
{
    // Not blocking on a FIFO: it is refused below, as is everything but a regular file.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = path + ": not a regular file";
        return false;
    }
    // Header, palette and the largest picture we accept, with room to spare.
    constexpr std::uint64_t kMaxFile = 2048 + 4ULL * kPictureMaxSide * kPictureMaxSide;
    if (static_cast<std::uint64_t>(st.st_size) > kMaxFile) {
        ::close(fd);
        error = path + ": file too large for a device picture";
        return false;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(st.st_size));
    std::size_t size = 0;
    while (size < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + size, bytes.size() - size);
        if (n > 0) {
            size += static_cast<std::size_t>(n);
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    ::close(fd);
    if (size != bytes.size()) {
        error = "cannot read " + path;
        return false;
    }
    if (!BmpDecode(bytes.data(), bytes.size(), out, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

std::vector<std::uint8_t> BmpEncode(const Picture& picture)
{
    std::map<std::uint32_t, int> index;
    for (std::uint32_t c : picture.rgb) {
        if (index.size() > 256) {
            break;
        }
        index.emplace(c, 0);
    }
    const bool paletted = index.size() <= 256;
    int n = 0;
    for (auto& [colour, i] : index) {
        i = n++;
    }
    const int bits = paletted ? 8 : 24;
    const std::uint32_t colours = paletted ? static_cast<std::uint32_t>(index.size()) : 0;
    const std::size_t stride = ((static_cast<std::size_t>(picture.width) * bits + 31) / 32) * 4;
    const std::uint32_t offset = 14 + 40 + 4 * colours;
    const std::size_t pixelBytes = stride * static_cast<std::size_t>(picture.height);
    std::vector<std::uint8_t> out;
    out.reserve(offset + pixelBytes);
    out.push_back('B');
    out.push_back('M');
    PutLe(out, static_cast<std::uint32_t>(offset + pixelBytes), 4);
    PutLe(out, 0, 4);
    PutLe(out, offset, 4);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(picture.width), 4);
    PutLe(out, static_cast<std::uint32_t>(picture.height), 4); // bottom-up, the common form
    PutLe(out, 1, 2);
    PutLe(out, static_cast<std::uint32_t>(bits), 2);
    PutLe(out, 0, 4);
    PutLe(out, static_cast<std::uint32_t>(pixelBytes), 4);
    PutLe(out, 2835, 4);
    PutLe(out, 2835, 4);
    PutLe(out, colours, 4);
    PutLe(out, 0, 4);
    if (paletted) {
        for (const auto& entry : index) {
            PutLe(out, entry.first, 4);
        }
    }
    for (int y = picture.height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t c = picture.at(x, y);
            if (paletted) {
                out.push_back(static_cast<std::uint8_t>(index[c]));
            } else {
                PutLe(out, c, 3);
            }
        }
        out.resize(start + stride, 0);
    }
    return out;
}

bool BmpWriteFile(const std::string& path, const Picture& picture)
{
    const std::vector<std::uint8_t> bytes = BmpEncode(picture);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}
