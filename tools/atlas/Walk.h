// Walks one path: the panel from power-on in virtual time under the
// headless host, driven by the path's scenario, with observers that look
// at the panel at given moments (before that moment's commands run).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/headless/HeadlessHost.h"

namespace atlas {

struct WalkOptions {
    std::string lockDirectory;                      // this process's own; must exist
    std::optional<std::vector<std::uint8_t>> flash; // the data-flash image; none: the delivered one
    std::FILE* err = stderr;                        // the host's error reports
    std::string errorLogPath;                       // and a file of them ("" none)
    std::size_t traceLimit = std::size_t{16} << 20; // bytes of trace kept
    std::uint64_t longestMs = 60ULL * 60 * 1000;    // virtual time after which a walk is cut off
};

struct Observer {
    static constexpr std::uint64_t kEnd = ~std::uint64_t{0}; // when the script has ended
    std::uint64_t at;
    std::function<void(HeadlessHost&)> look;
};

struct WalkResult {
    bool completed = false; // false: a failed expect, a cut-off or a panel that stopped by itself
    std::string failure;
    std::uint64_t endMs = 0;
    std::vector<std::string> active; // states active at the end, the most recently entered last
};

WalkResult Walk(const std::string& script, const WalkOptions& options, const std::vector<Observer>& observers = {});

// The virtual time a script takes: the sum of its waits (clicks and holds included).
std::uint64_t ScriptDuration(const std::string& script);

// States active after these trace lines ("NAME Entry" / "NAME Exit"), the
// most recently entered last.
std::vector<std::string> ActiveStates(const std::vector<TraceLine>& trace);

} // namespace atlas
