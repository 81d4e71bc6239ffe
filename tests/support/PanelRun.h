// Runs the whole panel (MainTask) in virtual time, with actions at given
// virtual times, until an end time.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sim/VirtualTime.h"
#include "sim/headless/HeadlessHost.h"

struct PanelStep {
    std::uint64_t at;
    std::function<void()> action;
};

class PanelRun {
  public:
    // The single-instance lock lives in a directory of the run's own unless one is given.
    explicit PanelRun(const std::string& lockDirectory = {});
    ~PanelRun();
    // Returns false when MainTask returned by itself.
    bool run(std::vector<PanelStep> steps, std::uint64_t endMs);
    HeadlessHost& host() { return host_; }
    VirtualTime& time() { return time_; }
    // Trace lines, trimmed.
    std::vector<std::string> trace();
    bool traced(const std::string& line);
    std::string errors();

  private:
    std::string lockDirectory_;
    bool ownLockDirectory_;
    VirtualTime time_;
    std::FILE* err_;
    HeadlessHost host_;
};
