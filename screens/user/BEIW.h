// Information list of hot water.
#pragma once

#include "core/SM.h"

SM_State BEIW_ExpertInfoWarmwasserMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BEIW_PowerOn();
