// Pictures of the atlas: the LCD at any whole scale, frames over it, PNG files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/GUI.h"
#include "sim/LcdPng.h"

namespace atlas {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> rgb; // 0xRRGGBB, rows top-down
};

// Each LCD pixel as a scale x scale block (nearest neighbour: crisp).
Picture Scaled(const LcdPicture& lcd, int scale);
// A frame of `thickness` pixels around an LCD box (inclusive corners), on a picture at `scale`.
void Frame(Picture& p, const GUI_BOX& box, int scale, int thickness, std::uint32_t colour);
bool WritePng(const std::string& path, const Picture& p);

} // namespace atlas
