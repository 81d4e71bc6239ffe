// Diagnosis list of the solar plant.
#pragma once

#include "core/SM.h"

SM_State BDAS_DiagnoseSolarMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BDAS_PowerOn();
