// Main menu, opened with MENU.
#pragma once

#include "core/SM.h"

SM_State BGM_Grundmenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BGM_PowerOn();
