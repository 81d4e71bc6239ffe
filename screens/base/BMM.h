// Menu monitor: parent of the base display and of every menu and dialog;
// the keys that work everywhere (MENU, HELP, service combinations).
#pragma once

#include "core/SM.h"

SM_State BMM_Menuemonitor(SM_Hsm* me, const SM_Event* e);

// The screen the user came from and the innermost state, as the monitor was last left.
SM_Handler BMM_ReturnScreen();
SM_Handler BMM_ReturnState();

// Static memory as at power-on (hosts that run several panels in one process).
void BMM_PowerOn();
