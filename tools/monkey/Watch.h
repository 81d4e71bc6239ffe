// What the monkey counts as a failure, judged from what a run shows: trace
// lines, the control unit's comings and goings, the queues' refused posts
// each simulated second, and the heap in use.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <string>

#include "core/SM_Config.h"

struct MonkeyFailure {
    enum class Kind {
        None,
        Fatal,      // a FATAL line of the hardware layer
        Restart,    // a restart for a reason other than 1, 2, or 32 with the control unit gone
        Error,      // the panel reported an error to the host
        Stall,      // a queue refused posts for a minute on end: the main loop does not serve it
        StartUp,    // after a start the menus (or a test program) did not come
        Memory,     // the heap kept growing
        TraceFlood, // more trace lines in a simulated minute than any screen writes
        Hang,       // virtual time stood still (set by the wall-clock watchdog)
        Script,     // an expectation of a replayed script failed
        NotRun,     // another simulation holds the lock
    };
    Kind kind = Kind::None;
    std::uint64_t ms = 0;  // simulated time it was seen
    std::string what;      // one line
    std::string expectNot; // a trace line a replay must not see; empty when none
};

const char* MonkeyFailureName(MonkeyFailure::Kind kind);

class MonkeyWatch {
  public:
    static constexpr std::uint64_t kStallSeconds = 60;
    // A start-up takes 10.25 s without a control unit (250 ms, 3 s, 7 s).
    static constexpr std::uint64_t kStartUpMs = 30'000;
    // Link lost (32) counts as expected this long after the control unit came back.
    static constexpr std::uint64_t kLinkGraceMs = 2000;
    static constexpr std::uint64_t kFloodLinesPerMinute = 20'000;
    // The heap may grow this much beyond the most it used in the first hour.
    static constexpr std::size_t kHeapGrowth = std::size_t{16} << 20;
    static constexpr std::uint64_t kHeapSettleMs = 3'600'000;

    // The control unit goes on or off at `ms` (in time order; may lie ahead).
    void controlUnit(std::uint64_t ms, bool on);
    // A trace line of the panel.
    void line(std::uint64_t ms, const std::string& text);
    // Errors the panel has reported to the host so far.
    void errors(std::uint64_t ms, int count);
    // Posts refused so far, per task; once per simulated second.
    void second(std::uint64_t ms, const std::array<std::uint32_t, SM_TASK_COUNT>& dropped);
    // Bytes of heap in use.
    void heap(std::uint64_t ms, std::size_t bytes);
    void fail(MonkeyFailure::Kind kind, std::uint64_t ms, std::string what, std::string expectNot = {});

    bool failed() const { return failure_.kind != MonkeyFailure::Kind::None; }
    const MonkeyFailure& failure() const { return failure_; }

    // Restarts by reason (-1: none traced).
    const std::map<int, std::uint64_t>& restarts() const { return restarts_; }
    std::uint64_t traceLines() const { return traceLines_; }
    // Of every line with its time: two runs that differ anywhere differ here.
    std::uint64_t traceHash() const { return traceHash_; }
    std::uint64_t busiestMinute() const { return busiestMinute_; }
    std::size_t heapPeak() const { return heapPeak_; }
    std::size_t heapSettled() const { return heapSettled_; }

  private:
    void advanceUnit(std::uint64_t ms);
    bool linkLossExpected(std::uint64_t ms);
    void restartReason(std::uint64_t ms, int reason, const std::string& text);

    MonkeyFailure failure_;
    std::deque<std::pair<std::uint64_t, bool>> switches_; // ahead of the trace
    bool unitOn_ = false;
    bool unitEverOn_ = false;
    std::uint64_t unitOnSince_ = 0;
    int pendingReason_ = -1;
    std::uint64_t upBy_ = kStartUpMs; // 0: the panel is up
    std::map<int, std::uint64_t> restarts_;
    std::uint64_t traceLines_ = 0;
    std::uint64_t traceHash_ = 0xCBF29CE484222325ULL; // FNV-1a
    std::uint64_t minute_ = 0;
    std::uint64_t minuteLines_ = 0;
    std::uint64_t busiestMinute_ = 0;
    int errors_ = 0;
    std::array<std::uint32_t, SM_TASK_COUNT> dropped_{};
    std::array<std::uint64_t, SM_TASK_COUNT> refusing_{}; // seconds on end
    std::size_t heapSettled_ = 0;
    std::size_t heapPeak_ = 0;
};
