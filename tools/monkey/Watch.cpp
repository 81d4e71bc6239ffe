#include "tools/monkey/Watch.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string Trimmed(const std::string& s)
{
    const std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) {
        return {};
    }
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

std::string Mib(std::size_t bytes)
{
    return std::to_string((bytes + (1 << 19)) >> 20) + " MiB";
}

} // namespace

const char* MonkeyFailureName(MonkeyFailure::Kind kind)
{
    switch (kind) {
    case MonkeyFailure::Kind::None:
        return "none";
    case MonkeyFailure::Kind::Fatal:
        return "FATAL trace line";
    case MonkeyFailure::Kind::Restart:
        return "unexpected restart";
    case MonkeyFailure::Kind::Error:
        return "error reported";
    case MonkeyFailure::Kind::Stall:
        return "stalled queue";
    case MonkeyFailure::Kind::StartUp:
        return "start-up did not end";
    case MonkeyFailure::Kind::Memory:
        return "memory growth";
    case MonkeyFailure::Kind::TraceFlood:
        return "trace flood";
    case MonkeyFailure::Kind::Hang:
        return "hang";
    case MonkeyFailure::Kind::Script:
        return "expectation failed";
    case MonkeyFailure::Kind::NotRun:
        return "panel did not run";
    }
    return "?";
}

void MonkeyWatch::fail(MonkeyFailure::Kind kind, std::uint64_t ms, std::string what, std::string expectNot)
{
    if (!failed()) { // the first one is the one to replay
        failure_ = MonkeyFailure{kind, ms, std::move(what), std::move(expectNot)};
    }
}

void MonkeyWatch::controlUnit(std::uint64_t ms, bool on)
{
    switches_.emplace_back(ms, on);
}

void MonkeyWatch::advanceUnit(std::uint64_t ms)
{
    while (!switches_.empty() && switches_.front().first <= ms) {
        const bool on = switches_.front().second;
        if (on && !unitOn_) {
            unitOnSince_ = switches_.front().first;
        }
        unitOn_ = on;
        unitEverOn_ = unitEverOn_ || on;
        switches_.pop_front();
    }
}

bool MonkeyWatch::linkLossExpected(std::uint64_t ms)
{
    advanceUnit(ms);
    // The link is lost only after it was there and then silent for a minute.
    return unitEverOn_ && (!unitOn_ || ms - unitOnSince_ < kLinkGraceMs);
}

void MonkeyWatch::restartReason(std::uint64_t ms, int reason, const std::string& text)
{
    pendingReason_ = reason;
    if (reason == 32 && linkLossExpected(ms)) {
        return;
    }
    if (reason != 1 && reason != 2) {
        fail(MonkeyFailure::Kind::Restart, ms, "reset for reason " + std::to_string(reason) + ": " + text, text);
    }
}

void MonkeyWatch::line(std::uint64_t ms, const std::string& raw)
{
    ++traceLines_;
    const auto mix = [this](std::uint8_t byte) { traceHash_ = (traceHash_ ^ byte) * 0x100000001B3ULL; };
    for (int shift = 0; shift < 64; shift += 8) {
        mix(static_cast<std::uint8_t>(ms >> shift));
    }
    for (char c : raw) {
        mix(static_cast<std::uint8_t>(c));
    }
    if (ms / 60'000 != minute_) {
        minute_ = ms / 60'000;
        minuteLines_ = 0;
    }
    if (++minuteLines_ > busiestMinute_) {
        busiestMinute_ = minuteLines_;
        if (busiestMinute_ == kFloodLinesPerMinute + 1) {
            fail(MonkeyFailure::Kind::TraceFlood, ms,
                 "more than " + std::to_string(kFloodLinesPerMinute) + " trace lines in one simulated minute");
        }
    }
    const std::string text = Trimmed(raw);
    if (StartsWith(text, "FATAL")) {
        fail(MonkeyFailure::Kind::Fatal, ms, text, text);
    } else if (text == "*SIG_3UHR_RESTART") {
        pendingReason_ = 1; // ignored unless the screensaver shows; then no restart follows
    } else if (text == "*SIG_REG_RESET") {
        pendingReason_ = 2;
    } else if (StartsWith(text, "*SIG_BED_ERROR_RESET:")) {
        restartReason(ms, std::atoi(text.c_str() + sizeof "*SIG_BED_ERROR_RESET:" - 1), text);
    } else if (text == "BMM_Menuemonitor Entry" || text == "BHE_HerstellerEndkontrolle Entry" ||
               text == "BHQ_HardwareQualityCheck Entry") {
        upBy_ = 0;
    } else if (text == "*RESTARTING") {
        upBy_ = ms + kStartUpMs;
        if (pendingReason_ < 0) {
            fail(MonkeyFailure::Kind::Restart, ms, "a restart without a reason traced before it");
        }
        ++restarts_[pendingReason_];
        pendingReason_ = -1;
    }
}

void MonkeyWatch::errors(std::uint64_t ms, int count)
{
    if (count > errors_) {
        errors_ = count;
        fail(MonkeyFailure::Kind::Error, ms, "the panel reported an error to the host (its text is on standard error)");
    }
}

void MonkeyWatch::second(std::uint64_t ms, const std::array<std::uint32_t, SM_TASK_COUNT>& dropped)
{
    advanceUnit(ms);
    if (upBy_ != 0 && ms > upBy_) {
        fail(MonkeyFailure::Kind::StartUp, ms,
             "no menu and no test program " + std::to_string(kStartUpMs / 1000) + " s after a start");
        upBy_ = 0;
    }
    for (std::size_t t = 0; t < SM_TASK_COUNT; ++t) {
        refusing_[t] = dropped[t] > dropped_[t] ? refusing_[t] + 1 : 0;
        if (refusing_[t] == kStallSeconds) {
            fail(MonkeyFailure::Kind::Stall, ms,
                 "task " + std::to_string(t) + "'s queue refused posts in each of " + std::to_string(kStallSeconds) +
                     " simulated seconds on end: nothing takes its events");
        }
    }
    dropped_ = dropped;
}

void MonkeyWatch::heap(std::uint64_t ms, std::size_t bytes)
{
    heapPeak_ = std::max(heapPeak_, bytes);
    if (ms <= kHeapSettleMs) {
        heapSettled_ = heapPeak_;
    } else if (bytes > heapSettled_ + kHeapGrowth) {
        fail(MonkeyFailure::Kind::Memory, ms,
             "heap in use grew to " + Mib(bytes) + " from at most " + Mib(heapSettled_) + " in the first hour");
    }
}
