// Runs the application core without MainTask's loop: tasks 2..5 as in the
// panel, task 1 a recorder, time advanced one millisecond at a time with
// every queue emptied after each, so timings are exact to the tick.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/SM.h"
#include "sim/VirtualTime.h"
#include "sim/headless/HeadlessHost.h"

struct Recorded {
    std::uint64_t ms;
    std::uint16_t sig;
    std::uint32_t par;
};

class Harness {
  public:
    explicit Harness(std::uint32_t startMode = 1);
    ~Harness();

    // Advances virtual time, dispatching after every millisecond.
    void advance(std::uint64_t ms);
    // Advances virtual time with nothing dispatched (events pile up).
    void advanceWithoutDispatch(std::uint64_t ms) { time_.advance(ms); }
    std::uint64_t now() const { return time_.now(); }
    HeadlessHost& host() { return host_; }

    // What reached the screen task, in order (engine signals left out).
    const std::vector<Recorded>& events() const;
    void clearEvents();
    // Times of one signal.
    std::vector<std::uint64_t> timesOf(std::uint16_t sig) const;
    std::vector<std::string> trace();

  private:
    VirtualTime time_;
    HeadlessHost host_;
};
