// Diagnosis list of heating circuit 2 with its mixer, flow and return.
#pragma once

#include "core/SM.h"

SM_State BDA2_DiagnoseHeizkreis2Menue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BDA2_PowerOn();
