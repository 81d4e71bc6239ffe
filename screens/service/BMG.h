// Maximum fan speed of burner stages 1 and 2: trial values with every step,
// both stored on the second OK.
#pragma once

#include "core/SM.h"

SM_State BMG_Startabfrage(SM_Hsm* me, const SM_Event* e);
SM_State BMG_GeblaesedrehzahlDialog(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BMG_PowerOn();
