// The service technician's diagnosis: the plant's operating data by plant part, the short
// query and the counter resets.
#pragma once

#include "core/SM.h"

SM_State BDM_DiagnoseMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BDM_PowerOn();
