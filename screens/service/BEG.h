// Venting: the filling program (BBF) with its own texts, flag and function.
#pragma once

#include "core/SM.h"

SM_State BEG_Entlueftung(SM_Hsm* me, const SM_Event* e);
SM_State BEG_EntlueftungAbfrage(SM_Hsm* me, const SM_Event* e);
SM_State BEG_EntlueftungAktiv(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BEG_PowerOn();
