// Economy mode: switched on or off at once, and confirmed.
#pragma once

#include "core/SM.h"

SM_State BSP_SparbetriebFeedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BSP_PowerOn();
