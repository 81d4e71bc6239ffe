// Room set temperature (normal) of the current heating circuit.
#pragma once

#include "core/SM.h"

SM_State BRT_RaumtemperaturTag(SM_Hsm* me, const SM_Event* e);
SM_State BRT_TemperaturDialog(SM_Hsm* me, const SM_Event* e);
SM_State BRT_Fernbedienung(SM_Hsm* me, const SM_Event* e);
SM_State BRT_Feedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BRT_PowerOn();
