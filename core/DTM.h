// Timer task: software timers, periodic signals, the seconds clock, beep.
// Also holds the tick routines that the four hardware ticks call.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State DTM_TimerTask(SM_Hsm* me, const SM_Event* e);

// Tick routines, called between HAL_IsrEnter and HAL_IsrLeave.
void DTM_Tick1ms();
void DTM_Tick10ms();
void DTM_Tick20ms();
void DTM_Tick100ms();

// Seconds since 1970-01-01 00:00 local time.
std::uint32_t DTM_GetSeconds();
// Tick counters since the timer task's last start.
std::uint32_t DTM_Milliseconds();
std::uint32_t DTM_Ticks10ms();
std::uint32_t DTM_Ticks100ms();
