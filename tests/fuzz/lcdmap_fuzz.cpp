// The LCD map as a watcher finds it: a header made by a simulator, changed
// by the input, in an object of the input's size. Attaching refuses a
// damaged header or maps a picture that fits the object; a simulator
// joining the leftover object makes it whole again.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "sim/desktop/LcdMap.h"

namespace {

// Outlives the exit handler that removes the object.
const std::string& Name()
{
    static const std::string* name = [] {
        auto* n = new std::string("PanelLcdMapFuzz" + std::to_string(::getpid()));
        std::atexit([] { ::shm_unlink(("/" + Name()).c_str()); });
        return n;
    }();
    return *name;
}

// The header a simulator writes for its 240 x 160 LCD.
std::vector<std::uint8_t> ValidHeader()
{
    LcdMap simulator;
    std::string error;
    if (!simulator.create(Name(), 240, 160, error)) {
        __builtin_trap();
    }
    return {simulator.data(), simulator.data() + lcdmap::kHeaderSize};
}

} // namespace

// Input: two bytes of object size (in 16-byte steps beyond the header),
// then patches of a two-byte offset into the header and a four-byte value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<std::uint8_t> valid = ValidHeader();
    if (size < 2) {
        return 0;
    }
    const std::size_t objectSize = lcdmap::kHeaderSize + 16 * static_cast<std::size_t>(data[0] | data[1] << 8);
    std::vector<std::uint8_t> header = valid;
    for (std::size_t i = 2; i + 6 <= size; i += 6) {
        const std::size_t at = static_cast<std::size_t>(data[i] | data[i + 1] << 8) % (lcdmap::kHeaderSize - 3);
        std::memcpy(header.data() + at, data + i + 2, 4);
    }
    const int fd = ::shm_open(("/" + Name()).c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::ftruncate(fd, static_cast<off_t>(objectSize)) != 0 ||
        ::pwrite(fd, header.data(), header.size(), 0) != static_cast<ssize_t>(header.size())) {
        __builtin_trap();
    }
    ::close(fd);

    LcdMap watcher;
    std::string error;
    if (watcher.attach(Name(), error)) {
        const auto h = static_cast<std::size_t>(watcher.height());
        if (watcher.width() <= 0 || h == 0 ||
            lcdmap::kHeaderSize + lcdmap::RowBytes(watcher.width()) * h > objectSize) {
            __builtin_trap();
        }
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(watcher.width()) * h);
        watcher.copyPixels(pixels.data());
        (void)watcher.pixel(watcher.width() - 1, watcher.height() - 1);
        (void)watcher.modifications();
        for (std::size_t offset = 0; offset < lcdmap::kHeaderSize + 8; offset += 4) {
            (void)watcher.field(offset);
        }
        watcher.setPointer(1, 1, 1); // a watcher writes nothing
    } else if (error.empty()) {
        __builtin_trap();
    }
    watcher.close(false);

    LcdMap simulator;
    if (!simulator.create(Name(), 240, 160, error)) {
        __builtin_trap();
    }
    simulator.setPixel(239, 159, 0x123456);
    if (!watcher.attach(Name(), error) || watcher.width() != 240 || watcher.height() != 160 ||
        watcher.pixel(239, 159) != 0x123456) {
        __builtin_trap();
    }
    return 0;
}
