// Value-edit dialogs: the number dialog, temperature formatting, and the
// exit actions every screen shares.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gui/GUI.h"

struct GUI_FONTDEF;

struct ValueLimits {
    std::int16_t value;
    std::int16_t step;
    std::int16_t min;
    std::int16_t max;
};

using VD_Format = void (*)(const GUI_BOX* box, std::int16_t value);

struct ValueDialog {
    std::int16_t value;
    std::int16_t step;
    std::int16_t min;
    std::int16_t max;
    VD_Format format;
    const GUI_BOX* box;
    const GUI_FONTDEF* font;
};

// The box every number dialog of the user screens shows its value in.
inline constexpr GUI_BOX VD_VALUE_BOX{74, 54, 164, 104};

void VD_Setup(const ValueLimits* limits, VD_Format format, const GUI_BOX* box, const GUI_FONTDEF* font);
void VD_SetBox(const GUI_BOX* box);
std::int16_t VD_GetValue();
std::int16_t VD_GetStep();
std::int16_t VD_GetMin();
std::int16_t VD_GetMax();
void VD_Draw(int mode); // GUI_MODE_REV: light on dark; GUI_MODE_NORMAL: plain
void VD_Increment();
void VD_Decrement();

void FMT_Temperature(const GUI_BOX* box, std::int16_t value);
int FMT_TemperatureText(char* buf, std::size_t size, std::int16_t value, bool blank);
int FMT_Int(std::int16_t value, char* buf);

// Display units follow the temperature unit of the operating data.
std::int16_t TMP_ToDisplay(std::int16_t celsius);
std::int16_t TMP_FromDisplay(std::int16_t shown);

// Exit actions of every screen: hint timer off, pending keys dropped, normal repeat.
void SCR_ExitCommon();

// Static memory as at power-on (hosts that run several panels in one process).
void VD_PowerOn();
