// Feedback of a change of the current heating circuit.
#pragma once

#include "core/SM.h"

SM_State BFA_Feedbackanzeige(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BFA_PowerOn();
