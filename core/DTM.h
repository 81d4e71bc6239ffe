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
// Runs first in every 10 ms tick (the application's pump of the test serial
// port); installed at start with the interrupt lock held, nullptr for none.
void DTM_InstallTick10msHook(void (*hook)());

// Seconds since 1970-01-01 00:00 local time.
std::uint32_t DTM_GetSeconds();
// The host's local time now, in the same count.
std::uint32_t DTM_HostLocalSeconds();
// Tick counters since the timer task's last start.
std::uint32_t DTM_Milliseconds();
std::uint32_t DTM_Ticks10ms();
std::uint32_t DTM_Ticks100ms();

// Clock record: u16 year, month 1..12, day 1..31, weekday 1 = Monday, time.
struct DTM_Clock {
    std::uint16_t year;
    std::uint8_t month;
    std::uint8_t day;
    std::uint8_t weekday;
    std::uint8_t hour;
    std::uint8_t minute;
    std::uint8_t second;
};

// Clock and calendar (seconds since 1970-01-01 local time).
DTM_Clock DTM_GetClock();
DTM_Clock DTM_SecondsToRecord(std::uint32_t seconds);
std::uint32_t DTM_RecordToSeconds(const DTM_Clock& record);
std::uint8_t DTM_AddDays(DTM_Clock& record, std::int32_t days);
void DTM_AddMinutes(std::uint8_t& hour, std::uint8_t& minute, std::int32_t minutes);
void DTM_ClampDate(DTM_Clock& record);
std::uint16_t DTM_AddYears(std::uint16_t year, std::int32_t delta);
int DTM_CompareDates(const DTM_Clock& a, const DTM_Clock& b);
std::uint8_t DTM_MonthLength(std::uint16_t year, std::uint8_t month);

// Static memory as at power-on (hosts that run several panels in one process).
void DTM_PowerOn();
