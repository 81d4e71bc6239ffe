#include "Walk.h"

#include <algorithm>
#include <variant>

#include "app/MainTask.h"
#include "sim/PowerOn.h"
#include "sim/VirtualTime.h"
#include "sim/headless/Scenario.h"

namespace atlas {

namespace {

// The headless host's default clock: 2026-01-05 08:00:00.
constexpr std::int64_t kClock = 1'767'600'000;

} // namespace

std::uint64_t ScriptDuration(const std::string& script)
{
    std::string error;
    const auto scenario = Scenario::parse("path", script, error);
    std::uint64_t ms = 0;
    if (scenario) {
        for (const ScenarioCommand& c : scenario->commands()) {
            if (const auto* wait = std::get_if<ScenarioCommand::Wait>(&c.action)) {
                ms += wait->ms;
            }
        }
    }
    return ms;
}

WalkResult Walk(const std::string& script, const WalkOptions& options, const std::vector<Observer>& observers)
{
    WalkResult result;
    auto scenario = Scenario::parse("path", script, result.failure);
    if (!scenario) {
        return result;
    }
    std::vector<Observer> pending(observers);
    std::stable_sort(pending.begin(), pending.end(), [](const Observer& a, const Observer& b) { return a.at < b.at; });

    SIM_PowerOn();
    VirtualTime time;
    HeadlessHost::Options ho;
    ho.lockDirectory = options.lockDirectory;
    ho.fixedClock = true;
    ho.clock = HOST_LocalTime{kClock, 0, false};
    ho.out = options.err;
    ho.err = options.err;
    ho.errorLogPath = options.errorLogPath;
    ho.flash = options.flash;
    ho.traceLimit = options.traceLimit;
    HeadlessHost host(time, ho);

    std::size_t next = 0;
    bool failed = false;
    bool ended = false;
    auto drive = [&] {
        while (next < pending.size() && pending[next].at <= time.now()) {
            pending[next++].look(host);
        }
        if (time.now() >= options.longestMs) {
            result.failure = "cut off after " + std::to_string(options.longestMs) + " ms";
            failed = true;
            host.requestStop();
            return;
        }
        std::uint64_t waitMs = 0;
        switch (scenario->run(host, waitMs)) {
        case Scenario::Step::Wait:
            time.setWake(time.now() + waitMs);
            return;
        case Scenario::Step::Failed:
            result.failure = scenario->failure();
            failed = true;
            break;
        case Scenario::Step::End:
            ended = true;
            for (; next < pending.size(); ++next) {
                pending[next].look(host);
            }
            break;
        }
        host.requestStop();
    };
    time.setHook(drive);
    drive();
    bool returned = false;
    try {
        MainTask();
        returned = true;
    } catch (const AppStop&) {
    }
    time.setHook(nullptr);
    if (returned && !failed) {
        result.failure = "the panel stopped by itself (another simulation in " + options.lockDirectory + "?)";
    }
    result.completed = ended && !failed && !returned;
    result.endMs = time.now();
    result.active = ActiveStates(host.traceLines());
    return result;
}

std::vector<std::string> ActiveStates(const std::vector<TraceLine>& trace)
{
    std::vector<std::string> active;
    for (const TraceLine& l : trace) {
        const std::string& t = l.text;
        const std::size_t b = t.find_first_not_of(' ');
        const std::size_t space = t.rfind(' ');
        if (b == std::string::npos || space == std::string::npos || space <= b) {
            continue;
        }
        const std::string name = t.substr(b, space - b);
        const std::string what = t.substr(space + 1);
        if (what != "Entry" && what != "Exit") {
            continue;
        }
        active.erase(std::remove(active.begin(), active.end(), name), active.end());
        if (what == "Entry") {
            active.push_back(name);
        }
    }
    return active;
}

} // namespace atlas
