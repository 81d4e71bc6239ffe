// Screens that later work builds: until then each is a placeholder that
// shows its name and goes back to the base display on BACK. A module that
// builds one of these screens removes it from here (and from
// docs/architecture.md).
#pragma once

#include "core/SM.h"

// X(name, superstate): the screens still to come, all below the menu monitor.
// None is left.
#define PLH_STATES(X)

#define PLH_DECLARE(name, parent) SM_State name(SM_Hsm* me, const SM_Event* e);
PLH_STATES(PLH_DECLARE)
#undef PLH_DECLARE

// Static memory as at power-on (hosts that run several panels in one process).
void PLH_PowerOn();
