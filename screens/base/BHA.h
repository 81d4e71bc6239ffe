// Help display: a help page for the screen HELP was pressed on.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BHA_Hilfeanzeige(SM_Hsm* me, const SM_Event* e);

// Return states a screen can name with SIG_SET_RETURN_STATE right after it
// opened the help: a handler's address does not fit the 32-bit parameter on
// every host, so the parameter is one of these numbers. Others are ignored.
enum : std::uint32_t {
    BHA_RETURN_BASE_DISPLAY = 1, // BGA_Grundanzeige
};

// Static memory as at power-on (hosts that run several panels in one process).
void BHA_PowerOn();
