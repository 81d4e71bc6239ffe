// Settings menu: the panel's own settings (clock, language, display,
// temperature unit) and the heating circuits' labels and reset.
#pragma once

#include "core/SM.h"

SM_State BEM_EinstellungenMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BEM_PowerOn();
