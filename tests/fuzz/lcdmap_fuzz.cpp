// The LCD map as a watcher finds it: arbitrary bytes as the shared object.
// Attaching refuses a damaged header or maps a picture that fits the
// object; a simulator joining the leftover object makes it whole again.
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "sim/desktop/LcdMap.h"

namespace {

const std::string& Name()
{
    static const std::string name = [] {
        std::string n = "PanelLcdMapFuzz" + std::to_string(::getpid());
        std::atexit([] { ::shm_unlink(("/" + Name()).c_str()); });
        return n;
    }();
    return name;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const int fd = ::shm_open(("/" + Name()).c_str(), O_RDWR | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || ::write(fd, data, size) != static_cast<ssize_t>(size)) {
        __builtin_trap();
    }
    ::close(fd);

    LcdMap watcher;
    std::string error;
    if (watcher.attach(Name(), error)) {
        const auto w = static_cast<std::size_t>(watcher.width());
        const auto h = static_cast<std::size_t>(watcher.height());
        if (w == 0 || h == 0 || lcdmap::kHeaderSize + lcdmap::RowBytes(watcher.width()) * h > size) {
            __builtin_trap();
        }
        std::vector<std::uint32_t> pixels(w * h);
        watcher.copyPixels(pixels.data());
        (void)watcher.pixel(watcher.width() - 1, watcher.height() - 1);
        (void)watcher.modifications();
        for (std::size_t offset = 0; offset < lcdmap::kHeaderSize; offset += 4) {
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
