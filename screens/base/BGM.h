// Main menu, opened with MENU.
#pragma once

#include "core/SM.h"

SM_State BGM_Grundmenue(SM_Hsm* me, const SM_Event* e);
