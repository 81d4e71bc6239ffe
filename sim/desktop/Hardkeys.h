// Key regions of the device picture: found by scanning the pressed picture,
// each one a clickable key window with a callback.
#pragma once

#include <cstdint>

#include "sim/desktop/Picture.h"

using SIM_HardkeyCallback = void (*)(int index, int pressed);

inline constexpr int SIM_MAX_HARDKEYS = 128;

struct SIM_HARDKEY {
    std::int32_t x0, y0, x1, y1; // x1 one past the widest run, y1 the last row
    std::uint8_t state;          // 0 up, 1 down
    SIM_HardkeyCallback callback;
    std::uint32_t toggleMode; // non-zero: each click toggles
};

// Fills the table from the pressed picture (every pixel not of `transparent`
// belongs to a key). `report` receives the error when runs do not fit.
void SIM_ScanHardkeys(const Picture& pressed, std::uint32_t transparent, void (*report)(const char* text));

int SIM_HardkeyCount();
// A copy of the entry; a free entry (all zero) for indexes out of range.
SIM_HARDKEY SIM_GetHardkey(int index);
SIM_HardkeyCallback SIM_SetHardkeyCallback(int index, SIM_HardkeyCallback callback);
std::uint32_t SIM_SetHardkeyMode(int index, std::uint32_t mode);
int SIM_GetHardkeyState(int index);
int SIM_SetHardkeyState(int index, int state);

// What a key window does on the left mouse button (window thread).
void SIM_HardkeyMouse(int index, bool down);
