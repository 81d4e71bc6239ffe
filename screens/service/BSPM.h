// Service pin: tells the LON module to announce itself on its network.
#pragma once

#include "core/SM.h"

SM_State BSPM_ServicePinMessage(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BSPM_PowerOn();
