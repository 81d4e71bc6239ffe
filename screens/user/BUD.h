// Time and date: the menu, the two dialogs with their accelerating step, and
// the confirmation. The parameter that first opens the time dialog chooses
// where the screens lead: 0 the time/date menu, 11 the settings menu, 6 the
// commissioning assistant, 10 the clock message of the base display.
#pragma once

#include "core/SM.h"

SM_State BUD_DatumUhrzeitMenue(SM_Hsm* me, const SM_Event* e);
SM_State BUD_UhrzeitDialog(SM_Hsm* me, const SM_Event* e);
SM_State BUD_DatumDialog(SM_Hsm* me, const SM_Event* e);
SM_State BUD_Feedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BUD_PowerOn();
