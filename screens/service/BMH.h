// Maximum heating output: a trial value with every step, stored on OK.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BMH_Startabfrage(SM_Hsm* me, const SM_Event* e);
SM_State BMH_HeizleistungDialog(SM_Hsm* me, const SM_Event* e);

// Where a value between the limits ends on the bars of the output and fan
// speed screens (x 19 to 218). Values outside the limits end at the bar's
// ends; equal limits give a full bar for any value at or above them.
int BMH_BarX(int value, int min, int max);

// Static memory as at power-on (hosts that run several panels in one process).
void BMH_PowerOn();
