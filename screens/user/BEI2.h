// Information list of heating circuit 2 with its mixer, flow and return.
#pragma once

#include "core/SM.h"

SM_State BEI2_ExpertInfoHeizkreis2Menue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BEI2_PowerOn();
