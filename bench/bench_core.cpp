// Benchmarks of the application core (run: build/default/bench/panel_bench).
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "core/SM.h"
#include "sim/VirtualTime.h"
#include "sim/headless/HeadlessHost.h"
#include "sim/headless/Runner.h"

namespace {

// Three levels: Leaf > Middle > Outer > SM_Top; the event is handled by Outer,
// so it passes through all three handlers.
std::uint32_t handled = 0;

SM_State Outer(SM_Hsm*, const SM_Event* e)
{
    if (e->sig == 100) {
        ++handled;
        return nullptr;
    }
    return SM_Top;
}

SM_State Middle(SM_Hsm*, const SM_Event*)
{
    return Outer;
}

SM_State Leaf(SM_Hsm*, const SM_Event*)
{
    return Middle;
}

void PostAndDispatchThroughThreeLevels(benchmark::State& state)
{
    VirtualTime time;
    HeadlessHost host(time, HeadlessHost::Options{});
    SM_TaskCtor(1);
    SM_ClearReady();
    SM_TaskStart(1, Leaf, 0);
    for (auto _ : state) {
        SM_Post(1, 100, 0);
        SM_RunQueued();
    }
    benchmark::DoNotOptimize(handled);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(PostAndDispatchThroughThreeLevels);

// One simulated hour of an idle panel in virtual time.
void VirtualHourOfIdlePanel(benchmark::State& state)
{
    char pattern[] = "/tmp/panel-bench-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    double simulated = 0;
    double wall = 0;
    for (auto _ : state) {
        std::string error;
        auto scenario = Scenario::parse("bench", "wait 1h\n", error);
        RunOptions options;
        options.host.lockDirectory = dir;
        options.host.fixedClock = true;
        const auto start = std::chrono::steady_clock::now();
        RunScenario(std::move(*scenario), options);
        wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        simulated += 3600;
    }
    std::filesystem::remove_all(dir);
    state.counters["sim_s_per_wall_s"] = simulated / wall;
}
BENCHMARK(VirtualHourOfIdlePanel)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
