// Start, restart and the reset record, with the whole panel in virtual time.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

#include "app/MainTask.h"
#include "core/DTM.h"
#include "core/SM.h"
#include "gui/GUI.h"
#include "hal/HAL.h"
#include "screens/common/PNL.h"
#include "sim/InstanceLock.h"
#include "support/PanelRun.h"

namespace {

std::uint32_t PostAt(std::uint16_t sig, std::uint32_t par = 0)
{
    return SM_Post(BED_Task, sig, par) ? 1 : 0;
}

int Count(const std::vector<std::string>& lines, const std::string& line)
{
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

TEST(MainTask, StartsTheTasksInOrderAndSwitchesTheTicksOn)
{
    PanelRun p;
    ASSERT_TRUE(p.run({}, 1000));
    const auto t = p.trace();
    const std::vector<std::string> start(t.begin(), t.begin() + std::min<std::size_t>(t.size(), 8));
    EXPECT_EQ(start, (std::vector<std::string>{"DTM_TimerTask Entry", "DTM_TimerTask Init", "DIS_I2C_Task Entry",
                                               "DIS_I2C_Task Init", "BSM_Systemmonitor Entry", "BSM_Systemmonitor Init",
                                               "BKE_Kontrasteinstellung Entry", "BKE_Kontrasteinstellung Init"}));
    EXPECT_EQ(MAIN_StartMode(), 1U);
    EXPECT_GT(DTM_Ticks100ms(), 5U); // ticking since the root's start
}

TEST(MainTask, ControllerResetRestartsInModeThreeAndLeavesEveryState)
{
    PanelRun p;
    ASSERT_TRUE(p.run({{1000, [] { PostAt(SIG_REG_RESET); }}}, 2000));
    const auto t = p.trace();
    // Every screen state is left, innermost first, down to the system monitor.
    const auto from = std::find(t.begin(), t.end(), "*SIG_REG_RESET");
    ASSERT_NE(from, t.end());
    const auto exited = std::find(from, t.end(), "BKE_Kontrasteinstellung Exit");
    ASSERT_NE(exited, t.end());
    for (auto i = from + 1; i != exited; ++i) {
        EXPECT_NE(i->find(" Exit"), std::string::npos) << *i;
    }
    EXPECT_EQ(std::vector<std::string>(exited, exited + 5),
              (std::vector<std::string>{"BKE_Kontrasteinstellung Exit", "BSM_Systemmonitor Exit",
                                        "BSM_SystemReset Entry", "BSM_SystemReset Init", "*RESTARTING"}));
    EXPECT_EQ(MAIN_GetResetReason(), 2);
    EXPECT_EQ(MAIN_StartMode(), 3U);
    EXPECT_EQ(Count(t, "BSM_Systemmonitor Entry"), 2);
}

TEST(MainTask, RestartAtThreeOClockOnlyWhileTheScreensaverShows)
{
    PanelRun p;
    ASSERT_TRUE(p.run({{500, [] { SM_Post(DTM_Task, SIG_CLOCK_SET, 5000); }},
                       {1000, [] { PostAt(SIG_3UHR_RESTART); }},
                       {2000, [] { PNL_flags.screensaver = true; }},
                       {2000, [] { PostAt(SIG_3UHR_RESTART); }}},
                      3000));
    const auto t = p.trace();
    EXPECT_EQ(Count(t, "*SIG_3UHR_RESTART"), 2);
    EXPECT_EQ(Count(t, "*RESTARTING"), 1);
    EXPECT_EQ(MAIN_StartMode(), 2U);
    EXPECT_TRUE(PNL_flags.screensaver); // shown again at once after this restart
    EXPECT_GE(DTM_GetSeconds(), 5001U); // the clock ran on, not read from the host again
    EXPECT_LT(DTM_GetSeconds(), 5004U);
}

struct ErrorCase {
    std::uint32_t code;
    std::uint8_t reason;
    std::uint32_t startMode;
};

class ErrorReset : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorReset, CodeDecidesTheNextStartMode)
{
    PanelRun p;
    const ErrorCase c = GetParam();
    ASSERT_TRUE(p.run({{1000, [&] { PostAt(SIG_BED_ERROR_RESET, c.code); }}}, 2000));
    EXPECT_TRUE(p.traced("*SIG_BED_ERROR_RESET: " + std::to_string(c.code)));
    EXPECT_EQ(MAIN_GetResetReason(), c.reason);
    EXPECT_EQ(MAIN_StartMode(), c.startMode);
}

INSTANTIATE_TEST_SUITE_P(Codes, ErrorReset,
                         ::testing::Values(ErrorCase{133, 133, 4}, ErrorCase{35, 35, 1}, ErrorCase{32, 32, 1},
                                           ErrorCase{77, 37, 1}, ErrorCase{0x185, 0x85, 4},
                                           // both ends of each range and just outside
                                           ErrorCase{31, 37, 1}, ErrorCase{38, 38, 1}, ErrorCase{39, 37, 1},
                                           ErrorCase{127, 37, 1}, ErrorCase{128, 128, 4}, ErrorCase{136, 136, 4},
                                           ErrorCase{137, 37, 1}),
                         [](const auto& param) { return "Code" + std::to_string(param.param.code); });

TEST(MainTask, DamagedMemoryMarkerRaisesErrorThirtyFive)
{
    PanelRun p;
    ASSERT_TRUE(p.run({{1000, [] { MAIN_GetResetRecord().memoryMarker = 0; }}}, 2000));
    EXPECT_TRUE(p.traced("*SIG_BED_ERROR_RESET: 35"));
    EXPECT_EQ(MAIN_GetResetRecord().memoryMarker, MAIN_MEMORY_MARKER);
    EXPECT_EQ(MAIN_StartMode(), 1U);
}

// However the reset came, its timers-off is carried out before the loop ends,
// so that the next start switches every tick on exactly once.
struct RestartCase {
    const char* name;
    void (*raise)();
};

class RestartTicks : public ::testing::TestWithParam<RestartCase> {};

TEST_P(RestartTicks, EveryTickIsOnOnceAfterTheRestart)
{
    PanelRun p;
    ASSERT_TRUE(p.run({{1000, GetParam().raise},
                       {2900,
                        [] {
                            for (std::uint8_t t = 0; t < HAL_PERIOD_COUNT; ++t) {
                                EXPECT_EQ(tim_enableCount(static_cast<HAL_Period>(t)), 1U) << int(t);
                            }
                        }}},
                      3000));
    EXPECT_EQ(Count(p.trace(), "*RESTARTING"), 1);
    for (const std::string& line : p.trace()) {
        EXPECT_EQ(line.find("FATAL"), std::string::npos) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(Resets, RestartTicks,
                         ::testing::Values(RestartCase{"MemoryMarker", [] { MAIN_GetResetRecord().memoryMarker = 0; }},
                                           RestartCase{"ControlUnit", [] { PostAt(SIG_REG_RESET); }},
                                           RestartCase{"Error", [] { PostAt(SIG_BED_ERROR_RESET, 133); }},
                                           RestartCase{"ThreeOClock",
                                                       [] {
                                                           PNL_flags.screensaver = true;
                                                           PostAt(SIG_3UHR_RESTART);
                                                       }}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(MainTask, SecondInstanceShowsTheNoticeAndDoesNothingElse)
{
    char pattern[] = "/tmp/panel-lock-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    PanelRun p(dir);
    InstanceLock other(dir);
    ASSERT_EQ(other.acquire("Simulation_am_laufen"), InstanceLock::Result::Acquired);
    EXPECT_FALSE(p.run({}, 1000)); // MainTask returned
    EXPECT_EQ(p.errors(), "Hinweis: Es ist bereits eine Simulation aktiv.\n");
    EXPECT_TRUE(p.trace().empty());
    std::filesystem::remove_all(dir);
}

} // namespace

namespace {

TEST(MainTask, StartedAgainInTheSameProcessItFindsItsOwnLock)
{
    PanelRun p;
    ASSERT_TRUE(p.run({}, 500));
    const std::uint64_t first = p.time().now();
    ASSERT_TRUE(p.run({}, first + 500)); // as the host's restart of the application does
    EXPECT_EQ(p.errors(), "");
    EXPECT_EQ(Count(p.trace(), "BSM_Systemmonitor Entry"), 2);
    for (const std::string& line : p.trace()) {
        EXPECT_EQ(line.find("FATAL"), std::string::npos) << line; // the ticks start from off again
    }
}

TEST(GuiSleep, OvershootingHostEndsTheWait)
{
    PanelRun p;
    // The host sleeps in 10 ms steps: a 7 ms wait overshoots by 3 ms.
    const std::uint64_t before = p.time().now();
    GUI_Sleep(7);
    EXPECT_EQ(p.time().now() - before, 10U);
}

} // namespace
