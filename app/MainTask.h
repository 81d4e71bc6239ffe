// Main task: single-instance guard, initialisation, main loop and restart.
#pragma once

#include <cstdint>

#include "core/MAIN_Record.h"
#include "core/SM.h"

// Entry point of the application thread. Returns only when another
// simulation is already running.
void MainTask();

// Asks the main loop to end after its current cycle and start again.
void MAIN_RequestRestart();
// Start mode of the current run: 1 first start, 2 restart at 3 o'clock,
// 3 restart requested by the control unit, 4 error reset.
std::uint32_t MAIN_StartMode();

// Watchdog bookkeeping of the system monitor.
void MAIN_SetAliveBit(std::uint8_t bit);
std::uint8_t MAIN_AliveByte();

// Static memory of the main task, its record, the panel flags and the top of
// the screen tree as at power-on (for tests that start a fresh panel).
void MAIN_PowerOn();

// System monitor: the outermost state of the screen task.
SM_State BSM_Systemmonitor(SM_Hsm* me, const SM_Event* e);
SM_State BSM_SystemReset(SM_Hsm* me, const SM_Event* e);
