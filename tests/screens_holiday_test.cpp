// Holiday program: day numbers and their dates, every step of the two dates
// at its limits (today, a year's stay, the last day a u32 second count
// holds), the "not set" date and a clock at 1970, and what a store writes.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "comm/DIS_Link.h"
#include "core/DTM.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "screens/user/BFP.h"
#include "support/Harness.h"

namespace {

DTM_Clock Date(std::uint16_t y, std::uint8_t m, std::uint8_t d)
{
    return DTM_Clock{y, m, d, 0, 0, 0, 0};
}

TEST(HolidayDays, NumbersAndDates)
{
    EXPECT_EQ(BFP_DayNumber(Date(1970, 1, 1)), 0);
    EXPECT_EQ(BFP_DayNumber(Date(1972, 3, 1)), 790); // after a leap day
    EXPECT_EQ(BFP_DayNumber(Date(2000, 12, 31)), 11322);
    EXPECT_EQ(BFP_DayNumber(Date(2026, 1, 5)), 20458);
    EXPECT_EQ(BFP_DayNumber(Date(2106, 2, 6)), BFP_LAST_DAY);
    // What no calendar has is held in range, never read past a table.
    EXPECT_EQ(BFP_DayNumber(Date(1900, 5, 5)), 0);
    EXPECT_EQ(BFP_DayNumber(Date(2200, 1, 1)), BFP_LAST_DAY);
    EXPECT_EQ(BFP_DayNumber(Date(1970, 0, 0)), 0);
    EXPECT_EQ(BFP_DayNumber(Date(1970, 13, 1)), 334);
    EXPECT_EQ(BFP_DayNumber(Date(65535, 255, 255)), BFP_LAST_DAY);

    const DTM_Clock thursday = BFP_DateOfDay(0);
    EXPECT_EQ(thursday.weekday, 4);
    const DTM_Clock monday = BFP_DateOfDay(20458);
    EXPECT_EQ(monday.year, 2026);
    EXPECT_EQ(monday.month, 1);
    EXPECT_EQ(monday.day, 5);
    EXPECT_EQ(monday.weekday, 1);
    for (const int n : {0, 59, 790, 11322, 20458, 40000, int{BFP_LAST_DAY}}) {
        EXPECT_EQ(BFP_DayNumber(BFP_DateOfDay(static_cast<std::uint16_t>(n))), n) << n;
    }
}

std::string Show()
{
    const BFP_Dates& w = BFP_WorkingDates();
    return std::to_string(w.departure - w.today) + ".." + std::to_string(w.ret - w.today);
}

enum Key { DepUp, DepDown, RetUp, RetDown };

struct StepCase {
    const char* what;
    std::uint16_t departure, ret; // from today
    std::vector<Key> keys;
    const char* shown; // departure..return, from today
};

TEST(HolidayDays, EachStepAtItsLimits)
{
    constexpr std::uint16_t kToday = 20458;
    const StepCase cases[] = {
        {"departure not before today", 0, 1, {DepDown}, "0..1"},
        {"departure onto the return pushes it", 0, 1, {DepUp}, "1..2"},
        {"departure later, the return stays", 0, 5, {DepUp, DepUp}, "2..5"},
        {"departure earlier keeps a stay of a year at most", 10, 375, {DepDown}, "9..374"},
        {"return up to a year after the departure", 3, 367, {RetUp, RetUp}, "3..368"},
        {"return down onto the departure pushes it back", 3, 4, {RetDown}, "2..3"},
        {"return down, departure at today: nothing moves", 0, 1, {RetDown}, "0..1"},
        {"return down, departure free", 0, 9, {RetDown, RetDown}, "0..7"},
    };
    for (const StepCase& c : cases) {
        BFP_SetWorkingDates(
            {kToday, static_cast<std::uint16_t>(kToday + c.departure), static_cast<std::uint16_t>(kToday + c.ret)});
        for (Key k : c.keys) {
            if (k == DepUp || k == DepDown) {
                BFP_StepDeparture(k == DepUp ? +1 : -1);
            } else {
                BFP_StepReturn(k == RetUp ? +1 : -1);
            }
        }
        EXPECT_EQ(Show(), c.shown) << c.what;
    }
}

TEST(HolidayDays, NoStepLeavesTheRange)
{
    // A stored program that began three days ago: up brings the departure to
    // today, pushing the return; down cannot go further back.
    BFP_SetWorkingDates({103, 100, 101});
    BFP_StepDeparture(-1);
    EXPECT_EQ(BFP_WorkingDates().departure, 100);
    BFP_StepDeparture(+1);
    EXPECT_EQ(BFP_WorkingDates().departure, 103);
    EXPECT_EQ(BFP_WorkingDates().ret, 104);
    // At the last day: the departure stays one before it.
    BFP_SetWorkingDates({100, BFP_LAST_DAY - 1, BFP_LAST_DAY});
    BFP_StepDeparture(+1);
    BFP_StepReturn(+1);
    EXPECT_EQ(BFP_WorkingDates().departure, BFP_LAST_DAY - 1);
    EXPECT_EQ(BFP_WorkingDates().ret, BFP_LAST_DAY);
    // At day 0 (a stored date of "not set" with a clock that far back): down
    // never wraps to the top of the range.
    BFP_SetWorkingDates({0, 0, 1});
    BFP_StepDeparture(-1);
    BFP_StepReturn(-1);
    EXPECT_EQ(BFP_WorkingDates().departure, 0);
    EXPECT_EQ(BFP_WorkingDates().ret, 1);
    BFP_SetWorkingDates({0, 1, 2});
    BFP_StepReturn(-1);
    BFP_StepReturn(-1);
    EXPECT_EQ(BFP_WorkingDates().departure, 0);
    EXPECT_EQ(BFP_WorkingDates().ret, 1);
}

// The plant with the clock at a given time.
struct Clocked {
    explicit Clocked(std::uint32_t seconds)
    {
        DAT_InitDefaults(seconds);
        DIS_LinkInit();
        SM_Post(DTM_Task, SIG_CLOCK_SET, seconds);
        h.advance(1);
        DAT_SelectCircuit(1);
    }
    Harness h;
};

TEST(HolidayDates, ReadFromTheImageAndTheClock)
{
    constexpr std::uint32_t kMonday = 20458U * 86400U + 8 * 3600; // 2026-01-05 08:00
    Clocked c(kMonday);
    const std::uint16_t today = BFP_DayNumber(DTM_GetClock());
    ASSERT_EQ(today, 20458);
    // Not set: today and tomorrow.
    BFP_ReadDates();
    EXPECT_EQ(Show(), "0..1");
    EXPECT_FALSE(BFP_ProgramSet());
    EXPECT_TRUE(BFP_DatesChanged());
    // A stored return before the departure opens as the day after it.
    DAT_SetHolidayDeparture((today + 4) * 86400U + 86399);
    DAT_SetHolidayReturn((today + 2) * 86400U);
    BFP_ReadDates();
    EXPECT_EQ(Show(), "4..5");
    EXPECT_TRUE(BFP_ProgramSet());
    // Stored as read: unchanged; stored, the image holds the day's end and start.
    DAT_SetHolidayReturn((today + 9) * 86400U);
    BFP_ReadDates();
    EXPECT_FALSE(BFP_DatesChanged());
    BFP_StepReturn(+1);
    EXPECT_TRUE(BFP_DatesChanged());
    const std::uint8_t queued = DIS_QueueCount();
    BFP_StoreDates();
    EXPECT_EQ(DIS_QueueCount(), queued + 2);
    EXPECT_FALSE(BFP_DatesChanged());
    const std::uint8_t* block = DAT_image.circuit[0];
    const auto u32 = [&](int at) {
        return block[at] | block[at + 1] << 8 | block[at + 2] << 16 | static_cast<std::uint32_t>(block[at + 3]) << 24;
    };
    EXPECT_EQ(u32(DAT_CIRCUIT_DEPARTURE), (today + 4) * 86400U + 86399);
    EXPECT_EQ(u32(DAT_CIRCUIT_RETURN), (today + 10) * 86400U);
}

TEST(HolidayDates, AClockAt1970NeverMakesADepartureOfNotSet)
{
    Clocked c(3600); // 1970-01-01 01:00
    BFP_ReadDates();
    const BFP_Dates& w = BFP_WorkingDates();
    EXPECT_EQ(w.today, 1);
    EXPECT_EQ(w.departure, 1);
    EXPECT_EQ(w.ret, 2);
    BFP_StepDeparture(-1);
    BFP_StepReturn(-1);
    EXPECT_EQ(Show(), "0..1");
    BFP_StoreDates();
    EXPECT_TRUE(BFP_ProgramSet()); // the stored departure is no "not set"
}

} // namespace
