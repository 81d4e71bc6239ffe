// The application's wiring: which task runs which machine, and the calls of
// the lower layers into the upper ones.
#pragma once

#include <cstdint>

#include "core/SM.h"

struct APP_Task {
    std::uint8_t task;
    SM_Handler initial;
};

// Tasks 2 to 5 in the order they are created and started. Task 1, the
// screens, starts last, at BSM_Systemmonitor, once the interrupt lock is released.
inline constexpr std::uint8_t APP_TASK_COUNT = 4;
extern const APP_Task APP_TASKS[APP_TASK_COUNT];

// Installs every upward call: the tick routines and the backlight's refresh
// into the hardware layer, the serial port's pump into the 10 ms tick, the top
// of the screen tree into the shared screens. Call with the interrupt lock held.
void APP_InstallHooks();
