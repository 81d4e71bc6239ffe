// Diagnosis list of hot water.
#pragma once

#include "core/SM.h"

SM_State BDAW_DiagnoseWarmwasserMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BDAW_PowerOn();
