// Hot-water menu: set temperature, hot-water and circulation time programs.
#pragma once

#include "core/SM.h"

SM_State BWWM_WWMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BWWM_PowerOn();
