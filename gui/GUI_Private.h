// Shared inside the drawing layer only.
#pragma once

#include <cstdint>

// Draws 1-bit rows at (x, y) in the current draw mode: set bits in the
// foreground, clear bits in the background (left alone in transparent mode),
// set bits inverting in XOR mode. Clipped.
void GUI_DrawBits1(const std::uint8_t* rows, int bytesPerRow, int width, int height, int x, int y);

// Fills a row segment with the background colour, clipped (glyph gaps).
void GUI_FillBackground(int x0, int y0, int x1, int y1);
