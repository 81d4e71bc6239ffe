// Capacities of the kernel in one place, and the task numbers.
#pragma once

#include <cstdint>

inline constexpr std::uint8_t SM_TASK_COUNT = 8;         // task numbers 0..7, 7 = highest priority
inline constexpr std::uint8_t SM_QUEUE_CAPACITY = 16;    // events per task queue
inline constexpr std::uint8_t SM_DEFERRED_CAPACITY = 16; // events one tick routine posts after the lock

// Task numbers.
inline constexpr std::uint8_t BED_Task = 1; // every screen
inline constexpr std::uint8_t BKL_Task = 2; // backlight
inline constexpr std::uint8_t KEY_Task = 3; // keys
// Tasks 4 and 5 take their numbers' names from their modules, since their
// initial states carry the task names DTM_TimerTask and DIS_I2C_Task.
inline constexpr std::uint8_t DTM_Task = 4; // software timers, clock, beep
inline constexpr std::uint8_t DIS_Task = 5; // link to the control unit
