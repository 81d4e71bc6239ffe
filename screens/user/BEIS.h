// Information list of the solar plant.
#pragma once

#include "core/SM.h"

SM_State BEIS_ExpertInfoSolarMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BEIS_PowerOn();
