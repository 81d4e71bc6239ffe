// Where the host's time comes from: the wall clock with host timer threads,
// or a virtual clock that moves only while the application sleeps.
#pragma once

#include <cstdint>

// Thrown by the application-thread sleep once the host asked the
// application to stop; the host catches it where it started MainTask.
struct AppStop {};

class TimeSource {
  public:
    virtual ~TimeSource() = default;
    // Milliseconds since the host started.
    virtual std::uint32_t milliseconds() = 0;
    // Sleeps one 10 ms step of the application thread.
    virtual void sleepStep() = 0;
    // Sleeps ms (at most one step). A virtual clock still moves a whole step;
    // the wall clock sleeps only what was asked, so 1-ms waits on a busy
    // serial line stay 1 ms.
    virtual void sleepPart(std::uint32_t ms)
    {
        (void)ms;
        sleepStep();
    }
    // Starts ticking a period (HAL_Period); every tick calls HAL_TimerCallback.
    virtual bool startTimer(std::uint8_t period) = 0;
};
