// Communication task (task 5): conversation with the control unit.
#pragma once

#include "core/SM.h"

SM_State DIS_I2C_Task(SM_Hsm* me, const SM_Event* e);
