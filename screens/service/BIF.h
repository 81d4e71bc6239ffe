// Service functions: the bus participants, the service pin, the maintenance
// reset, filling, venting and the two maximum-output settings.
#pragma once

#include "core/SM.h"

SM_State BIF_InbetriebnahmeMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BIF_PowerOn();
