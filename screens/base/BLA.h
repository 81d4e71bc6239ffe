// Start-up screen: progress bar, test window, waiting for the link.
#pragma once

#include "core/SM.h"

SM_State BLA_Laufbalkenanzeige(SM_Hsm* me, const SM_Event* e);
SM_State BLA_PruefprogrammStart(SM_Hsm* me, const SM_Event* e);
SM_State BLA_KommunikationStart(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BLA_PowerOn();
