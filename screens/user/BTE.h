// Temperature unit: Celsius or Fahrenheit for every temperature the panel
// shows and edits.
#pragma once

#include "core/SM.h"

SM_State BTE_TemperatureinheitEinstellen(SM_Hsm* me, const SM_Event* e);
SM_State BTE_TemperatureinheitFeedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BTE_PowerOn();
