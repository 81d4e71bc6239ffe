// Operating program: heating and hot water, hot water only, shut-down.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BetriebsartEinstellen(SM_Hsm* me, const SM_Event* e);
SM_State ExterneAufschaltung(SM_Hsm* me, const SM_Event* e);
SM_State ExternesProgramm(SM_Hsm* me, const SM_Event* e);
SM_State BetriebsartMenue(SM_Hsm* me, const SM_Event* e);
SM_State BBE_BetriebsartFeedback(SM_Hsm* me, const SM_Event* e);

// Entry 0 heating and hot water, 1 hot water only, 2 shut-down: sets the
// program and tells the control unit.
void BBA_SetProgram(std::uint8_t entry);
// The entry of the program in force.
std::uint8_t BBA_CurrentEntry();

// Static memory as at power-on (hosts that run several panels in one process).
void BBA_PowerOn();
