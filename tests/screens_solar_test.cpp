// The solar chart's scale: the largest day reaches the top whatever its
// size, an empty week draws flat bars, and the texts of its numbers.
#include <gtest/gtest.h>

#include "data/DAT.h"
#include "gui/GUI.h"
#include "screens/user/BSE.h"
#include "support/Golden.h"
#include "support/Screen.h"

namespace {

constexpr int kBottom = 80;
constexpr int kTop = 36;

void SetWeek(const std::uint32_t (&wh)[8])
{
    for (int i = 0; i < 4; ++i) {
        DAT_image.solar[13 + i] = static_cast<std::uint8_t>(wh[0] >> (8 * i));
    }
    for (int d = 1; d < 8; ++d) {
        for (int i = 0; i < 4; ++i) {
            DAT_image.solarHistory[4 * (d - 1) + i] = static_cast<std::uint8_t>(wh[d] >> (8 * i));
        }
    }
}

// The top row of day d's bar (right edge column), or -1 when nothing is drawn.
int BarTop(int d)
{
    const int x = 234 - 24 * d;
    for (int y = kTop - 4; y <= kBottom; ++y) {
        if (Screen::on(x, y) || Screen::on(x - 1, y)) {
            return y;
        }
    }
    return -1;
}

TEST(SolarScale, TheLargestReachesTheTopAndTheOthersFollowWhateverItsSize)
{
    EXPECT_EQ(BSE_BarHeight(1, 1), 44) << "0.1 kWh, the largest: full height, where a whole-number step is 0";
    EXPECT_EQ(BSE_BarHeight(43, 43), 44);
    EXPECT_EQ(BSE_BarHeight(0, 43), 0);
    EXPECT_EQ(BSE_BarHeight(22, 44), 22);
    EXPECT_EQ(BSE_BarHeight(70, 70), 44);
    EXPECT_EQ(BSE_BarHeight(35, 70), 22);
    EXPECT_EQ(BSE_BarHeight(0, 0), 0) << "no division by zero";
    EXPECT_EQ(BSE_BarHeight(5, 3), 44) << "never above the top";
    EXPECT_EQ(BSE_BarHeight(0xFFFFFFFFU, 0xFFFFFFFFU), 44) << "no overflow";
    EXPECT_EQ(BSE_BarHeight(0x7FFFFFFFU, 0xFFFFFFFFU), 21);
    EXPECT_EQ(BSE_Tenths(49), 0U);
    EXPECT_EQ(BSE_Tenths(50), 1U);
    EXPECT_EQ(BSE_Tenths(7000), 70U);
    EXPECT_EQ(BSE_Tenths(0xFFFFFFFFU), 42949673U) << "rounded without overflow";
}

TEST(SolarChart, ATenthOfAKilowattHourFillsTheChart)
{
    Screen s;
    SetWeek({0, 100, 0, 0, 0, 0, 0, 0}); // yesterday 0.1 kWh
    GUI_EraseScreen();
    BSE_DrawChart(1, true);
    EXPECT_EQ(BarTop(1), kTop);
    EXPECT_EQ(BarTop(0), kBottom) << "today's empty bar is flat";
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "solar_tenth"));
}

TEST(SolarChart, AnEmptyWeekHasFlatBarsAndItsAxes)
{
    Screen s;
    SetWeek({0, 0, 0, 0, 0, 0, 0, 0});
    GUI_EraseScreen();
    BSE_DrawChart(3, true);
    for (int d = 0; d < 8; ++d) {
        if (d != 0) {
            EXPECT_EQ(BarTop(d), kBottom) << "day " << d;
        }
    }
    for (int y = kTop; y <= kBottom; ++y) {
        EXPECT_TRUE(Screen::on(42, y)) << "the axis at " << y;
    }
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "solar_empty_week"));
}

TEST(SolarChart, SmallerDaysScaleWithTheLargest)
{
    Screen s;
    SetWeek({4000, 2000, 1000, 0, 0, 0, 0, 0});
    GUI_EraseScreen();
    BSE_DrawChart(7, false);
    EXPECT_EQ(BarTop(0), kTop);
    EXPECT_EQ(BarTop(1), kBottom - 22);
    EXPECT_EQ(BarTop(2), kBottom - 11);
}

} // namespace
