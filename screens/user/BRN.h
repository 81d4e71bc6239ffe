// Reduced room set temperature of the current heating circuit.
#pragma once

#include "core/SM.h"

SM_State BRN_RaumtemperaturNacht(SM_Hsm* me, const SM_Event* e);
SM_State BRN_TemperaturDialog(SM_Hsm* me, const SM_Event* e);
SM_State BRN_Feedback(SM_Hsm* me, const SM_Event* e);
