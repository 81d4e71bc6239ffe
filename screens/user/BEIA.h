// Information list of the boiler, the burner and the plant.
#pragma once

#include "core/SM.h"

SM_State BEIA_ExpertInfoAllgemeinMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BEIA_PowerOn();
