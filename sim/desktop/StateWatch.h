// What the state view and the control-unit window read of the running
// panel, without touching its memory from the window thread: the
// application thread takes a picture of it between two steps when one is
// asked for (and always where it stops: a halt or a pause), and the window
// thread reads the latest under a mutex. Trace lines come with their times.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include "sim/PanelState.h"

struct StateSnapshot {
    std::uint64_t serial = 0; // counts the pictures taken
    std::uint32_t ms = 0;     // panel time
    PanelState panel;
    std::optional<DAT_Image> plant; // the control unit's, while one is connected
};

struct StateTraceLine {
    std::uint32_t ms;
    std::string text;
};

class StateWatch {
  public:
    static constexpr std::size_t kTraceLines = 200;
    // Pictures while the panel runs fast: at most one per this much wall time.
    static constexpr std::chrono::milliseconds kEvery{50};

    // `halted` says (on the application thread) that the clock holds the
    // panel after this step; `plant` fills in the control unit's plant.
    StateWatch(std::function<bool()> halted, std::function<void(StateSnapshot&)> plant);

    // Window thread: pictures wanted from now on (a view is open), or not.
    void want(bool on);
    // Window thread: the next step takes a picture whatever the time.
    void askNow();
    // Application thread, before each step; `pausing` where it pauses.
    void onStep(std::uint32_t ms, bool pausing);
    // Any thread: the latest picture; false when there is none newer than `serial`.
    bool latest(std::uint64_t serial, StateSnapshot& out) const;

    // Any thread: a trace text as the host gets it, cut into lines.
    void trace(std::uint32_t ms, const char* text);
    std::deque<StateTraceLine> traceLines() const;

  private:
    std::function<bool()> halted_;
    std::function<void(StateSnapshot&)> plant_;
    std::atomic<int> wanted_{0};
    std::atomic<bool> now_{false};
    std::chrono::steady_clock::time_point last_{};
    mutable std::mutex mutex_;
    StateSnapshot latest_;
    mutable std::mutex traceMutex_;
    std::deque<StateTraceLine> trace_;
    std::string partial_;
    std::uint32_t partialMs_ = 0;
};

// The state view's text: panel time, each task's queue figures and state
// path, the plant values the panel holds, the last `traceLines` trace lines.
std::string StateText(const StateSnapshot& s, const std::deque<StateTraceLine>& trace, std::size_t traceLines);
