// The device-picture reader and the key-region scan on arbitrary files: a
// picture is refused with a reason or decoded within its limits, and every
// region the scan finds lies inside the picture.
#include <cstdint>
#include <string>

#include "sim/desktop/Hardkeys.h"
#include "sim/desktop/Picture.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Picture picture;
    std::string error;
    if (!BmpDecode(data, size, picture, error)) {
        if (error.empty()) {
            __builtin_trap();
        }
        return 0;
    }
    if (picture.empty() || picture.width > kPictureMaxSide || picture.height > kPictureMaxSide ||
        picture.rgb.size() != static_cast<std::size_t>(picture.width) * picture.height) {
        __builtin_trap();
    }
    // The top-left pixel's colour as the transparent one: the rest become keys.
    SIM_ScanHardkeys(picture, picture.at(0, 0), [](const char*) {});
    const int count = SIM_HardkeyCount();
    if (count < 0 || count > SIM_MAX_HARDKEYS) {
        __builtin_trap();
    }
    for (int i = 0; i < SIM_MAX_HARDKEYS; ++i) {
        const SIM_HARDKEY k = SIM_GetHardkey(i);
        if (k.x0 == 0 && k.x1 == 0) {
            continue;
        }
        if (k.x0 < 0 || k.x1 <= k.x0 || k.x1 > picture.width || k.y0 < 0 || k.y1 < k.y0 || k.y1 >= picture.height) {
            __builtin_trap();
        }
    }
    // Round trip: what the writer makes, the reader takes back unchanged.
    const std::vector<std::uint8_t> again = BmpEncode(picture);
    Picture back;
    if (!BmpDecode(again.data(), again.size(), back, error) || back.rgb != picture.rgb) {
        __builtin_trap();
    }
    return 0;
}
