// Language selection and its confirmation.
#pragma once

#include "core/SM.h"

SM_State BES_EinstellungSprache(SM_Hsm* me, const SM_Event* e);
SM_State BES_EinstellungSpracheFeedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BES_PowerOn();
