// Brightness menu: the brightness of operation and of the screensaver.
#pragma once

#include "core/SM.h"

SM_State BHM_HelligkeitMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BHM_PowerOn();
