// Service menu: the contractor's way into diagnosis, tests, coding, the
// fault history and the service functions, and the end of service mode.
// MENU and OK held together open it (the menu monitor).
#pragma once

#include "core/SM.h"

SM_State BSVM_Servicemenue(SM_Hsm* me, const SM_Event* e);
SM_State BSVM_BeendenAbfrage(SM_Hsm* me, const SM_Event* e);
SM_State BSVM_ServiceBeendenFeedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BSVM_PowerOn();
