// The information of the main menu: the plant's operating data by plant part and the
// counter resets.
#pragma once

#include "core/SM.h"

SM_State BEIM_ExpertInfoMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BEIM_PowerOn();
