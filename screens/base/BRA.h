// Screensaver: a slowly rotating ring segment at reduced brightness.
#pragma once

#include "core/SM.h"

SM_State BRA_RuheAnimation(SM_Hsm* me, const SM_Event* e);

// Every start but the one at 3 o'clock begins the rotation at angle 0.
void BRA_ClearAnimation();

// Static memory as at power-on (hosts that run several panels in one process).
void BRA_PowerOn();
