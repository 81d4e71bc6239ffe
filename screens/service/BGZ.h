// Counter reset of the diagnosis: every counter with its value, a yes/no
// question for the one chosen, its feedback.
#pragma once

#include "core/SM.h"

SM_State BGZ_GrundstellungZaehlerMenue(SM_Hsm* me, const SM_Event* e);
SM_State BGZ_LoeschenDialog(SM_Hsm* me, const SM_Event* e);
SM_State BGZ_Feedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BGZ_PowerOn();
