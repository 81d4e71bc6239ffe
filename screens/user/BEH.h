// Brightness screens: the backlight follows each step at once; OK stores it.
#pragma once

#include "core/SM.h"

SM_State BEH_HelligkeitBedienung(SM_Hsm* me, const SM_Event* e);
SM_State BEH_HelligkeitRuheanimation(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BEH_PowerOn();
