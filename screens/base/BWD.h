// Maintenance screens: the due maintenance data with its acknowledgement, and
// the reset of the maintenance counters.
#pragma once

#include "core/SM.h"

SM_State BWD_WartungsDialog(SM_Hsm* me, const SM_Event* e);
SM_State BWD_WartungsdatenMenue(SM_Hsm* me, const SM_Event* e);
SM_State BWD_QuittierungsAbfrage(SM_Hsm* me, const SM_Event* e);
SM_State BWD_QuittierungsFeedback(SM_Hsm* me, const SM_Event* e);
// The reset question: the service functions' menu opens it with SCR_FROM_PARENT.
SM_State BWD_WartungsReset(SM_Hsm* me, const SM_Event* e);
SM_State BWD_ResetFeedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BWD_PowerOn();
