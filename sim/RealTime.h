// Wall-clock time: one host thread runs the four periodic ticks against
// absolute deadlines, so they do not drift, and sleeps in between.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "hal/host.h"
#include "sim/TimeSource.h"

// The machine's local time now, as the panel's clock wants it.
HOST_LocalTime SIM_MachineLocalTime();

class RealTime final : public TimeSource {
  public:
    RealTime();
    ~RealTime() override;
    RealTime(const RealTime&) = delete;
    RealTime& operator=(const RealTime&) = delete;

    std::uint32_t milliseconds() override;
    void sleepStep() override;
    void sleepPart(std::uint32_t ms) override;
    bool startTimer(std::uint8_t period) override;
    // Ends the tick thread; no tick runs after it returns.
    void stop();
    // Holds every tick while the application is paused; they go on from the
    // release without catching up.
    void hold(bool held);

  private:
    using Clock = std::chrono::steady_clock;
    void run();
    bool OnlyMillisecondsRun() const;

    const Clock::time_point start_;
    std::mutex mutex_;
    std::condition_variable wakeUp_;
    bool running_[4] = {false, false, false, false};
    bool quit_ = false;
    bool held_ = false;
    std::thread thread_;
};
