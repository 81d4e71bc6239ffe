// Decodes an animated GIF into whole pictures, as a viewer shows them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct GifShown {
    static constexpr std::uint32_t kSeeThrough = 0xFF000000;
    std::vector<std::uint32_t> rgb; // 0xRRGGBB, kSeeThrough where nothing was drawn
    int delayCs = 0;
};

// False with the library's reason; `width` and `height` of the screen.
bool GifReadFrames(const std::string& path, std::vector<GifShown>& frames, int& width, int& height, std::string& error);
