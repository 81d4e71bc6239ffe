// Reset of a heating circuit to its defaults, after a yes/no question.
#pragma once

#include "core/SM.h"

SM_State BHKG_HKGrundeinstellung(SM_Hsm* me, const SM_Event* e);
SM_State BHKG_Feedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BHKG_PowerOn();
