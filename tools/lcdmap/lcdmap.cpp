// panel-lcdmap: reads the shared LCD memory of a running panel-sim.
//
//   panel-lcdmap [--name NAME] FILE.png          the LCD as it is now
//   panel-lcdmap [--name NAME] --info            the header fields
//   panel-lcdmap [--name NAME] --wait-change MS [--after COMMAND]
//        runs COMMAND (if given), then waits up to MS milliseconds for the
//        LCD to change; prints the milliseconds from just before COMMAND
#include "sim/desktop/LcdMap.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "sim/LcdPng.h"
#include "sim/headless/Words.h"

namespace {

constexpr std::uint64_t kLongestWaitMs = 24ULL * 3600 * 1000;

int Usage()
{
    std::fputs("usage: panel-lcdmap [--name NAME] FILE.png\n"
               "       panel-lcdmap [--name NAME] --info\n"
               "       panel-lcdmap [--name NAME] --wait-change MS [--after COMMAND]\n"
               "Reads the LCD of a running panel-sim from its shared memory (default name\n"
               "LumUILCDMap).\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    std::string name = lcdmap::DefaultName(0);
    std::string png;
    std::string after;
    bool info = false;
    long waitMs = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--name" && i + 1 < argc) {
            name = argv[++i];
        } else if (a == "--info") {
            info = true;
        } else if (a == "--wait-change" && i + 1 < argc) {
            const auto ms = WholeNumber(argv[++i], 10, kLongestWaitMs);
            if (!ms) {
                std::fprintf(stderr, "panel-lcdmap: --wait-change takes milliseconds from 0 to %lld, not '%s'\n",
                             static_cast<long long>(kLongestWaitMs), Printable(argv[i]).c_str());
                return 2;
            }
            waitMs = static_cast<long>(*ms);
        } else if (a == "--after" && i + 1 < argc) {
            after = argv[++i];
        } else if (a == "-h" || a == "--help" || a[0] == '-' || !png.empty()) {
            return Usage();
        } else {
            png = a;
        }
    }
    if (png.empty() && !info && waitMs < 0) {
        return Usage();
    }
    LcdMap map;
    std::string error;
    if (!map.attach(name, error)) {
        std::fprintf(stderr, "panel-lcdmap: %s\n", Printable(error).c_str());
        return 1;
    }
    if (info) {
        std::printf("name %s\nsize %d x %d (virtual %u x %u)\nbits per pixel %u\ncolours 0x%X\n"
                    "fixed palette %u\nmodifications %u\npointer %d, %d buttons %u\norigin %u, %u\n",
                    name.c_str(), static_cast<int>(map.field(lcdmap::kWidth)),
                    static_cast<int>(map.field(lcdmap::kHeight)), map.field(lcdmap::kVirtualWidth),
                    map.field(lcdmap::kVirtualHeight), map.field(lcdmap::kBitsPerPixel), map.field(lcdmap::kColours),
                    map.field(lcdmap::kFixedPalette), map.modifications(),
                    static_cast<int>(map.field(lcdmap::kPointerX)), static_cast<int>(map.field(lcdmap::kPointerY)),
                    map.field(lcdmap::kPointerButtons), map.field(lcdmap::kOriginX), map.field(lcdmap::kOriginY));
    }
    if (waitMs >= 0) {
        using Clock = std::chrono::steady_clock;
        const std::uint32_t before = map.modifications();
        const auto start = Clock::now();
        if (!after.empty() && std::system(after.c_str()) != 0) {
            std::fprintf(stderr, "panel-lcdmap: '%s' failed\n", after.c_str());
            return 1;
        }
        const auto deadline = start + std::chrono::milliseconds(waitMs);
        while (map.modifications() == before) {
            if (Clock::now() > deadline) {
                std::fprintf(stderr, "panel-lcdmap: no change within %ld ms\n", waitMs);
                return 1;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        std::printf("%.1f\n", std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    if (!png.empty()) {
        if (map.width() != LcdPicture::kWidth || map.height() != LcdPicture::kHeight) {
            std::fprintf(stderr, "panel-lcdmap: the LCD is %d x %d, not 240 x 160\n", map.width(), map.height());
            return 1;
        }
        LcdPicture picture;
        map.copyPixels(picture.rgb.data());
        if (!LcdPngWrite(png, picture)) {
            std::fprintf(stderr, "panel-lcdmap: cannot write %s: %s\n", png.c_str(), std::strerror(errno));
            return 1;
        }
    }
    return 0;
}
