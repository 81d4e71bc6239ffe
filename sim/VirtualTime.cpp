#include "sim/VirtualTime.h"

#include <algorithm>

#include "hal/HAL.h"

bool VirtualTime::startTimer(std::uint8_t period)
{
    if (period >= HAL_PERIOD_COUNT) {
        return false;
    }
    // Periods are phased from the host's start, like timers created at once.
    const std::uint64_t p = HAL_PeriodMs[period];
    next_[period] = (now_ / p + 1) * p;
    return true;
}

void VirtualTime::advance(std::uint64_t ms)
{
    const std::uint64_t target = now_ + ms;
    for (;;) {
        if (wake_ == now_) {
            wake_ = kNever;
            if (hook_) {
                hook_(); // may ask for the same millisecond again
            }
            continue;
        }
        for (std::uint8_t p = 0; p < HAL_PERIOD_COUNT; ++p) {
            if (next_[p] == now_) {
                next_[p] += HAL_PeriodMs[p];
                HAL_TimerCallback(static_cast<HAL_Period>(p));
            }
        }
        if (now_ >= target) {
            return;
        }
        std::uint64_t next = std::min(target, wake_);
        for (std::uint64_t t : next_) {
            next = std::min(next, t);
        }
        now_ = next;
    }
}
