#include "sim/headless/Runner.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "app/MainTask.h"
#include "sim/AmbientLight.h"
#include "sim/PowerOn.h"
#include "sim/RealTime.h"
#include "sim/VirtualTime.h"

namespace {

// Single thread: the scenario runs inside the application's sleeps.
RunResult RunVirtual(Scenario& scenario, HeadlessHost& host, VirtualTime& time)
{
    bool failed = false;
    auto drive = [&] {
        std::uint64_t waitMs = 0;
        switch (scenario.run(host, waitMs)) {
        case Scenario::Step::Wait:
            time.setWake(time.now() + waitMs);
            return;
        case Scenario::Step::Failed:
            failed = true;
            break;
        case Scenario::Step::End:
            break;
        }
        host.requestStop();
    };
    time.setHook(drive);
    drive();
    bool ended = false;
    try {
        MainTask();
        ended = true;
    } catch (const AppStop&) {
    }
    time.setHook(nullptr);
    if (failed) {
        return RUN_EXPECTATION_FAILED;
    }
    return ended ? RUN_APPLICATION_ENDED : RUN_OK;
}

// Application thread, timer thread, and this thread as the user.
RunResult RunReal(Scenario& scenario, HeadlessHost& host, RealTime& time)
{
    std::mutex mutex;
    std::condition_variable endedSignal;
    bool ended = false;
    std::atomic<bool> returned{false};
    std::thread app([&] {
        try {
            MainTask();
            returned = true;
        } catch (const AppStop&) {
        }
        std::lock_guard<std::mutex> guard(mutex);
        ended = true;
        endedSignal.notify_all();
    });
    auto hasEnded = [&] {
        std::lock_guard<std::mutex> guard(mutex);
        return ended;
    };
    bool failed = false;
    for (bool more = true; more && !hasEnded();) {
        std::uint64_t waitMs = 0;
        switch (scenario.run(host, waitMs)) {
        case Scenario::Step::Wait: {
            std::unique_lock<std::mutex> lock(mutex);
            endedSignal.wait_for(lock, std::chrono::milliseconds(waitMs), [&] { return ended; });
            break;
        }
        case Scenario::Step::Failed:
            failed = true;
            more = false;
            break;
        case Scenario::Step::End:
            more = false;
            break;
        }
    }
    host.requestStop();
    app.join();
    time.stop();
    if (failed) {
        return RUN_EXPECTATION_FAILED;
    }
    return returned ? RUN_APPLICATION_ENDED : RUN_OK;
}

} // namespace

RunResult RunScenario(Scenario scenario, const RunOptions& options, void (*inspect)(HeadlessHost&, void*),
                      void* context)
{
    SIM_PowerOn();
    RunResult result;
    if (options.realTime) {
        RealTime time;
        HeadlessHost host(time, options.host);
        result = RunReal(scenario, host, time);
        if (options.host.echoTrace) {
            host.printTrace();
        }
        if (inspect != nullptr) {
            inspect(host, context);
        }
    } else {
        VirtualTime time;
        time.setConversions(SIM_AmbientLightStep);
        HeadlessHost host(time, options.host);
        result = RunVirtual(scenario, host, time);
        if (options.host.echoTrace) {
            host.printTrace();
        }
        if (inspect != nullptr) {
            inspect(host, context);
        }
    }
    if (result == RUN_EXPECTATION_FAILED) {
        std::fprintf(options.host.err, "%s\n", scenario.failure().c_str());
    }
    return result;
}
