// Hardware layer: nesting and enable checks, trace cut, backlight colours.
#include <gtest/gtest.h>
#include <string>

#include "gui/LCD.h"
#include "hal/HAL.h"
#include "support/Harness.h"

namespace {

class Hal : public ::testing::Test {
  protected:
    std::vector<std::string> fatal()
    {
        std::vector<std::string> lines;
        for (const std::string& l : h.trace()) {
            if (l.rfind("FATAL ERROR: ", 0) == 0 || l.rfind("*** ", 0) == 0) {
                lines.push_back(l);
            }
        }
        return lines;
    }
    Harness h; // timers on, counters at 1
};

TEST_F(Hal, EnablingTwiceTracesEachPeriodAndTicksGoOn)
{
    tim_enableAllTimers();
    EXPECT_EQ(fatal(), (std::vector<std::string>{"FATAL ERROR: CPU_Timer tim_enableTimer100ms() 2",
                                                 "FATAL ERROR: CPU_Timer tim_enableTimer20ms() 2",
                                                 "FATAL ERROR: CPU_Timer tim_enableTimer10ms() 2",
                                                 "FATAL ERROR: CPU_Timer tim_enableTimer1ms() 2"}));
    EXPECT_EQ(tim_enableCount(HAL_PERIOD_1MS), 2U);
    const auto before = h.timesOf(SIG_TICK_100MS).size();
    h.advance(1000);
    EXPECT_GT(h.timesOf(SIG_TICK_100MS).size(), before);
    tim_disableAllTimers();
    tim_disableAllTimers();
    tim_disableTimer1ms(); // from 0
    EXPECT_EQ(fatal().back(), "FATAL ERROR: CPU_Timer tim_disableTimer1ms() -1");
}

TEST_F(Hal, DisabledPeriodRunsNoTick)
{
    tim_disableTimer100ms();
    h.clearEvents();
    h.advance(1000);
    EXPECT_TRUE(h.timesOf(SIG_TICK_100MS).empty());
    EXPECT_FALSE(h.timesOf(SIG_TICK_10MS).empty());
}

TEST_F(Hal, NestedInterruptLockIsReportedNotBlocking)
{
    __disable_interrupt();
    __disable_interrupt();
    __enable_interrupt();
    __enable_interrupt();
    EXPECT_EQ(fatal(), (std::vector<std::string>{"FATAL ERROR: IAR_Intrinsics __disable_interrupt() 2",
                                                 "FATAL ERROR: IAR_Intrinsics __enable_interrupt() 1"}));
    EXPECT_EQ(HAL_InterruptNesting(), 0U);
}

TEST_F(Hal, TraceIsCutAt255Characters)
{
    const std::string longText(300, 'x');
    HAL_Trace("\n%s", longText.c_str());
    HAL_Trace(nullptr);
    const auto t = h.trace();
    EXPECT_EQ(t.back(), std::string(254, 'x')); // 255 with the line feed
}

TEST_F(Hal, BacklightLevelsChooseTheLcdColours)
{
    EXPECT_EQ(HAL_GetBacklight(), 2U);
    EXPECT_EQ(HAL_LcdOnColor(), 0xCECECEU); // start: the grey of contrast 50
    const auto refreshes = h.host().lcdModifications();
    HAL_SetBacklight(2);
    EXPECT_EQ(h.host().lcdModifications(), refreshes); // unchanged level: no refresh
    HAL_SetBrightness(25);
    EXPECT_EQ(HAL_GetBacklight(), 4U);
    EXPECT_EQ(HAL_LcdOnColor(), LCD_ContrastGrey(LCD_GetContrast()));
    EXPECT_GT(h.host().lcdModifications(), refreshes);
    HAL_SetBrightness(24);
    EXPECT_EQ(HAL_GetBacklight(), 2U);
    EXPECT_EQ(HAL_LcdOnColor(), 0x4F4F4FU);
    HAL_SetBacklight(6);
    EXPECT_EQ(fatal(), (std::vector<std::string>{"*** Display-Beleuchtung, FEHLER ***"}));
    EXPECT_EQ(HAL_LcdOnColor(), 0x4F4F4FU);
    EXPECT_EQ(HAL_OsVersion(), 8);
}

} // namespace
