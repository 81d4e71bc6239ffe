#include "sim/desktop/StateWatch.h"

#include <cstdio>

#include "sim/PlantControl.h"

StateWatch::StateWatch(std::function<bool()> halted, std::function<void(StateSnapshot&)> plant)
    : halted_(std::move(halted)), plant_(std::move(plant))
{
}

void StateWatch::want(bool on)
{
    wanted_ += on ? 1 : -1;
    now_ = on;
}

void StateWatch::askNow()
{
    now_ = true;
}

void StateWatch::onStep(std::uint32_t ms, bool pausing)
{
    if (wanted_.load() <= 0) {
        return;
    }
    const auto wall = std::chrono::steady_clock::now();
    const bool settled = pausing || (halted_ && halted_());
    if (!now_.exchange(false) && !settled && wall - last_ < kEvery) {
        return;
    }
    last_ = wall;
    StateSnapshot s;
    s.ms = ms;
    s.panel = PanelStateNow();
    if (plant_) {
        plant_(s);
    }
    std::lock_guard<std::mutex> guard(mutex_);
    s.serial = latest_.serial + 1;
    latest_ = std::move(s);
}

bool StateWatch::latest(std::uint64_t serial, StateSnapshot& out) const
{
    std::lock_guard<std::mutex> guard(mutex_);
    if (latest_.serial <= serial) {
        return false;
    }
    out = latest_;
    return true;
}

void StateWatch::trace(std::uint32_t ms, const char* text)
{
    std::lock_guard<std::mutex> guard(traceMutex_);
    for (const char* p = text;; ++p) {
        if (*p == '\n' || *p == '\0') {
            if (!partial_.empty()) {
                trace_.push_back(StateTraceLine{partialMs_, std::move(partial_)});
                partial_.clear();
                if (trace_.size() > kTraceLines) {
                    trace_.pop_front();
                }
            }
            if (*p == '\0') {
                return;
            }
            continue;
        }
        if (partial_.empty()) {
            partialMs_ = ms;
        }
        partial_ += *p;
    }
}

std::deque<StateTraceLine> StateWatch::traceLines() const
{
    std::lock_guard<std::mutex> guard(traceMutex_);
    return trace_;
}

std::string StateText(const StateSnapshot& s, const std::deque<StateTraceLine>& trace, std::size_t traceLines)
{
    std::string out;
    char line[256];
    std::snprintf(line, sizeof line, "Panel time %u ms\n\n%-22s %-12s %s\n", s.ms, "Task", "Queue high", "Dropped");
    out += line;
    for (const PanelTaskState& t : s.panel.tasks) {
        std::snprintf(line, sizeof line, "%u %-20s %3u of %-5u %u\n", t.task, t.label.c_str(), t.highWater, t.queueSize,
                      t.dropped);
        out += line;
        std::string path;
        for (const std::string& state : t.path) {
            path += (path.empty() ? "" : " > ") + state;
        }
        if (!path.empty()) {
            out += "    " + path + "\n";
        }
    }
    out += "\nPlant values the panel holds\n";
    for (const PlantField& f : PlantFields()) {
        std::snprintf(line, sizeof line, "  %-32s %d\n", f.label, f.get(s.panel.image));
        out += line;
    }
    out += "\nLast trace lines\n";
    const std::size_t from = trace.size() > traceLines ? trace.size() - traceLines : 0;
    for (std::size_t i = from; i < trace.size(); ++i) {
        std::snprintf(line, sizeof line, "%8u ms  ", trace[i].ms);
        out += line + trace[i].text + "\n";
    }
    return out;
}
