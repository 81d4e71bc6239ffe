// Character-set view: every glyph of the fonts with its code and width, one
// code at a time; a developer's screen, opened by MENU+DOWN in the main menu.
// MENU+DOWN here opens the next one, the event-queue view.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BZA_ZeichensatzAnzeige(SM_Hsm* me, const SM_Event* e);

// The code shown, kept between visits.
std::uint16_t BZA_Code();

// Static memory as at power-on (hosts that run several panels in one process).
void BZA_PowerOn();
