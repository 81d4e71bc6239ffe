// Base display: the plant at a glance, message overlays, screensaver.
#pragma once

#include "core/SM.h"

SM_State BGA_Grundanzeige(SM_Hsm* me, const SM_Event* e);
SM_State BGA_GrundanzeigeMenue(SM_Hsm* me, const SM_Event* e);
SM_State BGA_GrundanzeigeMenueGesperrt(SM_Hsm* me, const SM_Event* e);
