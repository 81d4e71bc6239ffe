// A run of the monkey: the whole panel under the headless host in virtual
// time, fed by a seed's script (or a script to replay), watched for the
// failures of MonkeyWatch and for virtual time standing still.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>

#include "core/SM_Config.h"
#include "tools/monkey/Script.h"
#include "tools/monkey/Watch.h"

struct MonkeyOptions {
    std::uint64_t seed = 1;
    std::uint64_t durationMs = 2 * 3'600'000; // 0: until the script ends
    // A script to run instead of a seed's (a written replay; any length).
    std::string replay;
    // Scenario lines run before the seed's script (from the base display, say).
    std::string prelude;
    // The seed's script is written here as it runs, and kept only when the
    // run fails: it replays the failure.
    std::string replayOut;
    std::string lockDirectory;
    // Wall seconds without a simulated second passing that make a hang.
    unsigned hangSeconds = 60;
    std::FILE* err = stderr;
};

struct MonkeyReport {
    MonkeyFailure failure;
    std::uint64_t simulatedMs = 0;
    double wallSeconds = 0;
    long peakResidentKiB = 0;
    MonkeyTally tally; // of the seed's script
    std::map<int, std::uint64_t> restarts;
    std::array<std::uint32_t, SM_TASK_COUNT> dropped{};
    std::uint64_t traceLines = 0;
    std::uint64_t traceHash = 0; // MonkeyWatch::traceHash
    std::uint64_t lcdWrites = 0; // pixels the panel wrote to the LCD
    std::uint64_t busiestMinute = 0;
    std::size_t heapPeak = 0;
    std::size_t heapSettled = 0;
    bool replayWritten = false;
};

MonkeyReport MonkeyRun(const MonkeyOptions& options);

// Wall-clock watchdog of a run: when `progress` (virtual milliseconds)
// stands still for `seconds` of wall time, `note` gets a line saying so and
// the process ends with status 4.
class MonkeyHangWatch {
  public:
    MonkeyHangWatch(unsigned seconds, std::function<void(const std::string&)> note,
                    const std::atomic<std::uint64_t>& progress);
    ~MonkeyHangWatch();
    MonkeyHangWatch(const MonkeyHangWatch&) = delete;
    MonkeyHangWatch& operator=(const MonkeyHangWatch&) = delete;

  private:
    std::mutex lock_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

// Lines of a report for people.
std::string MonkeyDescribe(const MonkeyOptions& options, const MonkeyReport& report);
// Same failure, at the same simulated millisecond.
bool MonkeySameFailure(const MonkeyFailure& a, const MonkeyFailure& b);
