// Heating-circuit menu: everything the user sets for the current circuit.
#pragma once

#include "core/SM.h"

SM_State BHKM_HKMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BHKM_PowerOn();
