// Diagnosis list of heating circuit 1.
#pragma once

#include "core/SM.h"

SM_State BDA1_DiagnoseHeizkreis1Menue(SM_Hsm* me, const SM_Event* e);
SM_State BDA1_DiagnoseShowMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BDA1_PowerOn();
