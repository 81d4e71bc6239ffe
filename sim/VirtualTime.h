// Virtual time: no threads. The clock moves only when the application
// sleeps; every tick that falls due runs in time order through the same
// interrupt wrapper as on the wall clock, so a run is exactly repeatable.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

#include "sim/TimeSource.h"

class VirtualTime final : public TimeSource {
  public:
    static constexpr std::uint64_t kNever = ~std::uint64_t{0};

    // Other threads may read the time (a window's log); only one moves it.
    std::uint32_t milliseconds() override { return static_cast<std::uint32_t>(now_.load(std::memory_order_relaxed)); }
    void sleepStep() override { advance(10); }
    bool startTimer(std::uint8_t period) override;

    std::uint64_t now() const { return now_.load(std::memory_order_relaxed); }
    // Moves the clock forward, running due ticks and the wake-up hook.
    void advance(std::uint64_t ms);
    // The hook runs when the clock reaches the wake time, before the ticks
    // of that millisecond (input arriving at t is seen by a scan at t).
    void setWake(std::uint64_t at) { wake_ = at; }
    void setHook(std::function<void()> hook) { hook_ = std::move(hook); }
    // Runs after each tick of the 10 ms timer (the hosts' ambient-light converter).
    void setConversions(void (*conversions)()) { conversions_ = conversions; }

  private:
    std::atomic<std::uint64_t> now_{0};
    std::uint64_t wake_ = kNever;
    std::uint64_t next_[4] = {kNever, kNever, kNever, kNever};
    std::function<void()> hook_;
    void (*conversions_)() = nullptr;
};
