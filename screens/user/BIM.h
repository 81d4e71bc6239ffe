// Information: temperatures, pumps, burner and, per heating circuit, its
// program and state, read-only.
#pragma once

#include "core/SM.h"

SM_State BIM_InformationMenue(SM_Hsm* me, const SM_Event* e);
SM_State BIM_ShowInformationShowMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BIM_PowerOn();
