// Drawing and text layer: context, primitives, text, and the layer's time.
#pragma once

#include <cstdint>

struct GUI_BOX {
    std::int16_t x0, y0, x1, y1; // both corners inclusive
};

// Initialises the layer; returns 0.
int GUI_Start();
void GUI_UseUtf8();

// Returns after ms milliseconds of the host clock.
void GUI_Sleep(int ms);
// Host milliseconds.
std::uint32_t GUI_GetTime();

// Reports an error of the layer to the host (log window and error file).
void GUI_ReportError(const char* text);
