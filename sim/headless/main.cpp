// panel-headless: runs the panel without a display, driven by a scenario.
#include <cstdio>
#include <string>
#include <vector>

#include "sim/headless/Options.h"

int main(int argc, char** argv)
{
    HeadlessCommandLine line;
    std::string message;
    switch (ParseHeadlessOptions(std::vector<std::string>(argv + 1, argv + argc), line, message)) {
    case HeadlessParse::Help:
        std::fputs(message.c_str(), stdout);
        return RUN_OK;
    case HeadlessParse::Bad:
        std::fprintf(stderr, "%s\n", message.c_str());
        return RUN_BAD_SCRIPT;
    case HeadlessParse::Run:
        break;
    }
    std::string error;
    auto scenario = Scenario::load(line.script, error);
    if (!scenario) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return RUN_BAD_SCRIPT;
    }
    if (!line.plant.empty() && !scenario->startWithPlant(line.plant, error)) {
        std::fprintf(stderr, "panel-headless: --plant: %s\n", error.c_str());
        return RUN_BAD_SCRIPT;
    }
    return RunScenario(std::move(*scenario), line.run);
}
