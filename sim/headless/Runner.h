// Runs MainTask under the headless host, driven by a scenario.
#pragma once

#include "sim/headless/HeadlessHost.h"
#include "sim/headless/Scenario.h"

enum RunResult : int {
    RUN_OK = 0,
    RUN_EXPECTATION_FAILED = 1,
    RUN_BAD_SCRIPT = 2,
    RUN_APPLICATION_ENDED = 3, // MainTask returned: another simulation is running
};

struct RunOptions {
    HeadlessHost::Options host;
    bool realTime = false;
};

// Starts from power-on, runs until the scenario ends or fails.
// `inspect`, when given, sees the host before it goes away.
RunResult RunScenario(Scenario scenario, const RunOptions& options, void (*inspect)(HeadlessHost&, void*) = nullptr,
                      void* context = nullptr);
