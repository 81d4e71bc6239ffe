// Coding menus of levels 1 and 2: the coding groups the plant has, and the
// question that resets a level's values to their basic settings.
#pragma once

#include "core/SM.h"

SM_State BCPM_Codierung_1_Menue(SM_Hsm* me, const SM_Event* e);
SM_State BCPM_Codierung_2_Menue(SM_Hsm* me, const SM_Event* e);
SM_State BCPM_Grundeinstellung(SM_Hsm* me, const SM_Event* e);
SM_State BCPM_Feedback(SM_Hsm* me, const SM_Event* e);

// The coding menu last shown (level 1 or 2): where the coding screens return.
SM_Handler BCPM_Menu();

// Static memory as at power-on (hosts that run several panels in one process).
void BCPM_PowerOn();
