// The window's time: the headless host's virtual clock, moved by the
// application's own sleeps, paced against the wall clock at a chosen speed.
// Everything the user does reaches the panel between two 10 ms steps, in the
// application thread, at a panel time a scenario can name: a session replays
// in panel-headless to the same LCD.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "sim/TimeSource.h"
#include "sim/VirtualTime.h"

class PacedClock final : public TimeSource {
  public:
    static constexpr int kFastest = 0; // speed: no pacing at all

    // `stopRequested` is asked on the application thread while it waits.
    explicit PacedClock(std::function<bool()> stopRequested);

    std::uint32_t milliseconds() override { return virtual_.milliseconds(); }
    std::uint64_t now() const { return virtual_.now(); }
    void sleepStep() override;
    bool startTimer(std::uint8_t period) override;

    // Window thread. Runs on at this speed (1, 10, 100 or kFastest).
    void run(int speed);
    int speed() const;
    // Runs `ms` of panel time as fast as it can, then halts.
    void step(std::uint64_t ms);
    // Runs as fast as it can until `changed` says so (asked after each step), then halts.
    void runUntil(std::function<bool()> changed);
    // Halts when the panel time reaches `ms`, at whatever speed it runs.
    void haltAt(std::uint64_t ms);
    // A step or a run-until came to its end; the window then pauses.
    bool halted() const;
    // Re-anchors the pacing after a pause, so that no time is caught up.
    void hold(bool held);

    // An input, applied on the application thread before the ticks of the
    // next step's end; `record` names it as a scenario line ("" none). While
    // no application runs it is applied at once.
    void post(std::function<void()> input, std::string record = {});
    void setLive(bool live);
    // Called before the inputs of a wake-up, and every `period` ms of panel
    // time after the last wake-up (the control unit's bus rounds); 0: never.
    void setRound(std::function<void()> round, std::uint64_t period);
    // Sees every recorded input with its panel time.
    void setRecorder(std::function<void(std::uint64_t ms, const std::string& line)> recorder);

  private:
    using Wall = std::chrono::steady_clock;
    struct Input {
        std::function<void()> apply;
        std::string record;
    };
    void anchor(); // with mutex_ held
    void wake();   // on the application thread, inside advance()

    std::function<bool()> stopRequested_;
    VirtualTime virtual_; // only the application thread moves it
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    int speed_ = 1;
    std::uint64_t limit_ = VirtualTime::kNever;
    std::uint64_t haltAt_ = VirtualTime::kNever;
    std::function<bool()> until_;
    bool halted_ = false;
    bool live_ = false;
    Wall::time_point anchorWall_;
    std::uint64_t anchorMs_ = 0;
    std::vector<Input> inputs_;
    std::function<void()> round_;
    std::uint64_t period_ = 0;
    std::uint64_t nextRound_ = VirtualTime::kNever;
    std::function<void(std::uint64_t, const std::string&)> recorder_;
};
