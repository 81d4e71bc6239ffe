// Several panels one after the other in one process: each starts from
// power-on, so what one leaves behind never shows in the next.
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "sim/headless/Runner.h"

namespace {

struct Outcome {
    RunResult result;
    std::string trace; // every line with its time
    std::vector<std::uint32_t> lcd;
    std::uint32_t lcdWrites = 0;
};

void Capture(HeadlessHost& host, void* context)
{
    auto* o = static_cast<Outcome*>(context);
    for (const TraceLine& l : host.traceLines()) {
        o->trace += std::to_string(l.ms) + l.text + "\n";
    }
    o->lcdWrites = host.lcdModifications();
    for (int y = 0; y < 160; ++y) {
        for (int x = 0; x < 240; ++x) {
            o->lcd.push_back(host.lcdPixel(x, y));
        }
    }
}

// A scenario of tests/scenarios by its name, or a script of its own.
Outcome RunPanel(const std::string& name)
{
    std::string error;
    auto scenario = name.find(' ') != std::string::npos
                        ? Scenario::parse("inline", name, error)
                        : Scenario::load(std::string(PANEL_SCENARIO_DIR) + "/" + name + ".scn", error);
    EXPECT_TRUE(scenario.has_value()) << error;
    Outcome o{RUN_BAD_SCRIPT, {}, {}, 0};
    if (!scenario) {
        return o;
    }
    RunOptions options;
    options.host.fixedClock = true;
    options.host.clock = HOST_LocalTime{1'767'600'000, 0, false};
    options.host.out = std::tmpfile();
    options.host.err = options.host.out;
    o.result = RunScenario(std::move(*scenario), options, Capture, &o);
    std::fclose(options.host.out);
    return o;
}

// Scenarios that between them pass through the start-up, commissioning,
// the menus, help, messages, the screensaver, a conversation on the bus and
// the restarts, and panels switched off in the middle of things (timers
// armed, a key held). Run forwards, then backwards, each one follows another
// panel than the first time, yet must do exactly the same.
TEST(PowerOn, EachPanelRunsAsInAFreshProcess)
{
    const std::vector<std::string> names = {"first_start",
                                            "wait 1s\nclick HELP\nwait 1500",
                                            "menus",
                                            "conversation",
                                            "language_and_clock",
                                            "wait 1s\ncontrol-unit on\nwait 3s\npress UP\nwait 1500",
                                            "help",
                                            "messages",
                                            "screensaver",
                                            "restart_3am_screens",
                                            "restarts",
                                            "heating_menu"};
    std::vector<Outcome> forwards;
    for (const std::string& n : names) {
        forwards.push_back(RunPanel(n));
        EXPECT_EQ(forwards.back().result, RUN_OK) << n;
    }
    for (std::size_t i = names.size(); i-- > 0;) {
        const Outcome again = RunPanel(names[i]);
        EXPECT_EQ(again.result, RUN_OK) << names[i];
        EXPECT_EQ(again.trace, forwards[i].trace) << names[i];
        EXPECT_TRUE(again.lcd == forwards[i].lcd) << names[i] << ": the LCD differs at the end";
        EXPECT_EQ(again.lcdWrites, forwards[i].lcdWrites) << names[i];
    }
}

} // namespace
