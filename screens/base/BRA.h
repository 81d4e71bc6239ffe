// Screensaver: a slowly rotating ring segment at reduced brightness.
#pragma once

#include "core/SM.h"

SM_State BRA_RuheAnimation(SM_Hsm* me, const SM_Event* e);
