// The four periodic ticks, gated by enable counters, entering the
// application as simulated interrupts.
#include <atomic>
#include <cstdio>

#include "hal/HAL.h"
#include "hal/host.h"

namespace {

struct Timers {
    // Read by the host's timer thread on every tick, written by the application.
    std::atomic<std::uint32_t> enable[HAL_PERIOD_COUNT]{};
    bool started = false;
};

Timers timers;

const char* const kName[HAL_PERIOD_COUNT] = {"1ms", "10ms", "20ms", "100ms"};

void Enable(HAL_Period p)
{
    const std::uint32_t n = ++timers.enable[p];
    if (n != 1) {
        HAL_Trace("\nFATAL ERROR: CPU_Timer tim_enableTimer%s() %d", kName[p], static_cast<int>(n));
    }
}

void Disable(HAL_Period p)
{
    const std::uint32_t before = timers.enable[p]--;
    if (before != 1) {
        HAL_Trace("\nFATAL ERROR: CPU_Timer tim_disableTimer%s() %d", kName[p], static_cast<int>(before - 1));
    }
}

} // namespace

void tim_startTimers()
{
    if (timers.started) {
        return;
    }
    timers.enable[HAL_PERIOD_100MS] = 0;
    timers.enable[HAL_PERIOD_1MS] = 0;
    timers.enable[HAL_PERIOD_10MS] = 0;
    for (std::uint8_t p = 0; p < HAL_PERIOD_COUNT; ++p) {
        if (!HOST().startTimer(p)) {
            HAL_Trace("\nCPU_Timer: Timer%s timeSetEvent() failed", kName[p]);
            char text[64];
            std::snprintf(text, sizeof text, "CPU_Timer: Timer%s timeSetEvent() failed", kName[p]);
            HOST().messageBox(text, "Warning");
        }
    }
    timers.started = true;
}

void tim_enableTimer1ms()
{
    Enable(HAL_PERIOD_1MS);
}
void tim_enableTimer10ms()
{
    Enable(HAL_PERIOD_10MS);
}
void tim_enableTimer20ms()
{
    Enable(HAL_PERIOD_20MS);
}
void tim_enableTimer100ms()
{
    Enable(HAL_PERIOD_100MS);
}
void tim_disableTimer1ms()
{
    Disable(HAL_PERIOD_1MS);
}
void tim_disableTimer10ms()
{
    Disable(HAL_PERIOD_10MS);
}
void tim_disableTimer20ms()
{
    Disable(HAL_PERIOD_20MS);
}
void tim_disableTimer100ms()
{
    Disable(HAL_PERIOD_100MS);
}

void tim_enableAllTimers()
{
    tim_enableTimer100ms();
    tim_enableTimer20ms();
    tim_enableTimer10ms();
    tim_enableTimer1ms();
}

void tim_disableAllTimers()
{
    tim_disableTimer100ms();
    tim_disableTimer20ms();
    tim_disableTimer10ms();
    tim_disableTimer1ms();
}

std::uint32_t tim_enableCount(HAL_Period period)
{
    return timers.enable[period];
}

void HAL_TimerCallback(HAL_Period period)
{
    if (timers.enable[period] == 0) {
        return;
    }
    HAL_IsrEnter();
    // Read under the lock that the installation holds.
    if (void (*tick)() = HAL_InstalledVectors().tick[period]) {
        tick();
    }
    HAL_IsrLeave();
}

void tim_resetEnables()
{
    for (auto& e : timers.enable) {
        e = 0;
    }
}

void tim_PowerOn()
{
    tim_resetEnables();
    timers.started = false;
}
