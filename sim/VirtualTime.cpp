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
    next_[period] = (now() / p + 1) * p;
    return true;
}

void VirtualTime::advance(std::uint64_t ms)
{
    const std::uint64_t target = now() + ms;
    for (;;) {
        const std::uint64_t at = now();
        if (wake_ == at) {
            wake_ = kNever;
            if (hook_) {
                hook_(); // may ask for the same millisecond again
            }
            continue;
        }
        for (std::uint8_t p = 0; p < HAL_PERIOD_COUNT; ++p) {
            if (next_[p] == at) {
                next_[p] += HAL_PeriodMs[p];
                HAL_TimerCallback(static_cast<HAL_Period>(p));
                if (p == HAL_PERIOD_10MS && conversions_ != nullptr) {
                    conversions_();
                }
            }
        }
        if (at >= target) {
            return;
        }
        std::uint64_t next = std::min(target, wake_);
        for (std::uint64_t t : next_) {
            next = std::min(next, t);
        }
        now_.store(next, std::memory_order_relaxed);
    }
}
