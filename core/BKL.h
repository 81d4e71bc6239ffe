// Backlight task (task 2): sets and fades the LCD backlight.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BKL_Backlight(SM_Hsm* me, const SM_Event* e);

// The user's brightness settings for operation and for the screensaver.
void BKL_SetBrightnessSettings(std::uint8_t operating, std::uint8_t screensaver);
std::uint8_t BKL_OperatingBrightness();
std::uint8_t BKL_ScreensaverBrightness();
std::uint8_t BKL_CurrentLevel();

// One step of the ambient-light regulation with the averaged light value v.
void BKL_Step(std::uint32_t v);

// Static memory as at power-on (hosts that run several panels in one process).
void BKL_PowerOn();
