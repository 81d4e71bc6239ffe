// Communication task (task 5): the conversation with the control unit.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State DIS_I2C_Task(SM_Hsm* me, const SM_Event* e);
SM_State DIS_StartCommunication(SM_Hsm* me, const SM_Event* e);
SM_State DIS_Run(SM_Hsm* me, const SM_Event* e);

// Set by the bus driver when the master addresses the panel.
void DIS_SetLinkActive(bool active);
bool DIS_LinkActive();
std::uint8_t DIS_LinkResets();
bool DIS_Polling();

// Static memory as at power-on (hosts that run several panels in one process).
void DIS_PowerOn();
