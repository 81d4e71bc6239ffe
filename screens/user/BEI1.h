// Information list of heating circuit 1.
#pragma once

#include "core/SM.h"

SM_State BEI1_ExpertInfoHeizkreis1Menue(SM_Hsm* me, const SM_Event* e);
SM_State BEI1_ExpertInfoShowMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BEI1_PowerOn();
