// The top of the screen tree as the shared screens see it. The root and the
// screen patterns name states that sit in the layers above them (the system
// monitor in app/, the others in screens/base/); the application installs
// them at start, before the screen task starts.
#pragma once

#include "core/SM.h"

struct TOP_States {
    SM_Handler systemMonitor; // superstate of the root
    SM_Handler startUp;       // the root's child at every start but the one at 3 o'clock
    SM_Handler menuMonitor;   // the root's child at 3 o'clock; parent of every menu
    SM_Handler baseDisplay;   // where the operation timeout leads
    SM_Handler systemReset;   // the reset screen that restarts the panel (factory tests end there)
};

void TOP_Install(const TOP_States& states);
// Nothing installed, as at power-on.
void TOP_PowerOn();

SM_Handler TOP_SystemMonitor();
SM_Handler TOP_StartUp();
SM_Handler TOP_MenuMonitor();
SM_Handler TOP_BaseDisplay();
SM_Handler TOP_SystemReset();
