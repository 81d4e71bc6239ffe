// Hot-water set temperature, within the limits the control unit gives.
#pragma once

#include "core/SM.h"

SM_State BWW_Warmwasser(SM_Hsm* me, const SM_Event* e);
SM_State BWW_TemperaturDialog(SM_Hsm* me, const SM_Event* e);
SM_State BWW_Fernbedienung(SM_Hsm* me, const SM_Event* e);
SM_State BWW_Feedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BWW_PowerOn();
