// Commissioning assistant: language, then time and date, then a closing message.
#pragma once

#include "core/SM.h"

SM_State BIA_InbetriebnahmeAssistent(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BIA_PowerOn();
