// Time programs: every edit step of a phase with its suggestions and limits,
// the invariant under any key sequence, the group marks after writes to
// single days, what a store writes and files, and the time bar's geometry.
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

#include "comm/DIS_Link.h"
#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "gui/LCD.h"
#include "screens/user/TP.h"
#include "sim/ControlUnit.h"
#include "support/Golden.h"
#include "support/Harness.h"
#include "support/Screen.h"

namespace {

constexpr std::uint8_t U = TP_UNSET;

struct Phases {
    std::uint8_t on[4];
    std::uint8_t off[4];
};

void Set(const Phases& p)
{
    std::memcpy(TP_edit.onTime, p.on, 4);
    std::memcpy(TP_edit.offTime, p.off, 4);
}

std::string Show(std::uint8_t t)
{
    if (t == U) {
        return "--:--";
    }
    char s[16];
    std::snprintf(s, sizeof s, "%02d:%02d", t / 6, t % 6 * 10);
    return s;
}

std::string ShowPhase(std::uint8_t p)
{
    return Show(TP_edit.onTime[p]) + "-" + Show(TP_edit.offTime[p]);
}

enum Op { OnUp, OnDown, OffUp, OffDown };

bool Step(Op op, std::uint8_t p)
{
    switch (op) {
    case OnUp:
        return TP_OnUp(nullptr, p);
    case OnDown:
        return TP_OnDown(nullptr, p);
    case OffUp:
        return TP_OffUp(nullptr, p);
    default:
        return TP_OffDown(nullptr, p);
    }
}

struct EditCase {
    const char* what;
    Phases start;
    std::uint8_t phase;
    std::uint8_t defOn, defOff;
    std::vector<Op> keys;
    const char* shown;   // the phase after the keys
    bool lastChanged;    // what the last key reported
    const char* suggest; // suggestion after the keys, "" when not checked
};

TEST(TimeProgramSteps, EachKeyOnAPhase)
{
    const Phases none{{U, U, U, U}, {U, U, U, U}};
    const Phases oneAndThree{{36, U, 96, U}, {48, U, 132, U}}; // 06:00-08:00, 16:00-22:00
    const EditCase cases[] = {
        {"new phase, nothing else set: heating default", none, 0, 36, 132, {OnUp}, "06:00-22:00", true, ""},
        {"new phase, nothing else set: hot-water default", none, 2, 33, 132, {OnUp}, "05:30-22:00", true, ""},
        {"new phase between two: from end to start", oneAndThree, 1, 36, 132, {OnUp}, "08:10-15:50", true, ""},
        {"off-time up on an unset phase also creates it", oneAndThree, 1, 36, 132, {OffUp}, "08:10-15:50", true, ""},
        {"new last phase: after the previous end up to 24:00",
         oneAndThree,
         3,
         36,
         132,
         {OnUp},
         "22:10-24:00",
         true,
         ""},
        {"on-time up to the off-time pushes it along",
         {{40, U, U, U}, {41, U, U, U}},
         0,
         36,
         132,
         {OnUp},
         "06:50-07:00",
         true,
         ""},
        {"on-time stops at 23:50 with the off-time at 24:00",
         {{142, U, U, U}, {143, U, U, U}},
         0,
         36,
         132,
         {OnUp, OnUp, OnUp},
         "23:50-24:00",
         false,
         ""},
        {"off-time stops at 24:00",
         {{130, U, U, U}, {143, U, U, U}},
         0,
         36,
         132,
         {OffUp, OffUp},
         "21:40-24:00",
         false,
         ""},
        {"off-time down to the on-time deletes the phase",
         {{36, U, U, U}, {38, U, U, U}},
         0,
         36,
         132,
         {OffDown, OffDown},
         "--:-----:--",
         true,
         "06:00-06:10"},
        {"deleted by the off-time, up brings it back",
         {{36, U, U, U}, {38, U, U, U}},
         0,
         36,
         132,
         {OffDown, OffDown, OffUp},
         "06:00-06:10",
         true,
         ""},
        {"on-time below 00:00 deletes, the suggestion keeps the end",
         {{1, U, U, U}, {50, U, U, U}},
         0,
         36,
         132,
         {OnDown, OnDown},
         "--:-----:--",
         true,
         "00:00-08:20"},
        {"deleted by the on-time, up brings it back from 00:00",
         {{0, U, U, U}, {50, U, U, U}},
         0,
         36,
         132,
         {OnDown, OnUp},
         "00:00-08:20",
         true,
         ""},
        {"down keys on an unset phase do nothing", none, 0, 36, 132, {OnDown}, "--:-----:--", false, ""},
        {"off-time down on an unset phase does nothing", none, 0, 36, 132, {OffDown}, "--:-----:--", false, ""},
        {"a phase ending at 00:10 goes at once",
         {{0, U, U, U}, {1, U, U, U}},
         0,
         36,
         132,
         {OffDown},
         "--:-----:--",
         true,
         "00:00-00:10"},
        {"previous ends at 23:50: no room after it, defaults",
         {{120, U, U, U}, {143, U, U, U}},
         1,
         36,
         132,
         {OnUp},
         "06:00-22:00",
         true,
         ""},
        {"next starts at 00:10: no room before it, defaults",
         {{U, 1, U, U}, {U, 30, U, U}},
         0,
         33,
         132,
         {OnUp},
         "05:30-22:00",
         true,
         ""},
        {"crossing suggestion falls back to the defaults",
         {{80, U, 60, U}, {100, U, 70, U}},
         1,
         36,
         132,
         {OnUp},
         "06:00-22:00",
         true,
         ""},
    };
    for (const EditCase& c : cases) {
        Set(c.start);
        TP_Suggest(c.phase, c.defOn, c.defOff);
        bool changed = false;
        for (Op op : c.keys) {
            changed = Step(op, c.phase);
        }
        EXPECT_EQ(ShowPhase(c.phase), c.shown) << c.what;
        EXPECT_EQ(changed, c.lastChanged) << c.what;
        if (*c.suggest != '\0') {
            EXPECT_EQ(Show(TP_edit.suggestOn) + "-" + Show(TP_edit.suggestOff), c.suggest) << c.what;
        }
    }
}

TEST(TimeProgramSteps, NoKeySequenceBreaksTheInvariant)
{
    std::mt19937 rng(7);
    for (int run = 0; run < 200; ++run) {
        Set({{U, U, U, U}, {U, U, U, U}});
        for (int k = 0; k < 400; ++k) {
            const auto p = static_cast<std::uint8_t>(rng() % 4);
            if (k % 37 == 0) {
                TP_Suggest(p, 36, 132);
            }
            Step(static_cast<Op>(rng() % 4), p);
            for (std::uint8_t i = 0; i < 4; ++i) {
                const std::uint8_t on = TP_edit.onTime[i];
                const std::uint8_t off = TP_edit.offTime[i];
                const bool unset = on == U && off == U;
                ASSERT_TRUE(unset || (on < off && on <= 143 && off <= 144))
                    << "run " << run << " key " << k << " phase " << int(i) << ": " << ShowPhase(i);
            }
        }
    }
}

TEST(TimeProgramSteps, FourPhasesFullAndEditedAlone)
{
    Set({{0, 40, 80, 120}, {30, 70, 110, 144}});
    TP_SaveCopy();
    TP_Suggest(1, 36, 132);
    EXPECT_TRUE(TP_OnUp(nullptr, 1));
    EXPECT_EQ(ShowPhase(1), "06:50-11:40");
    EXPECT_TRUE(TP_PhaseChanged(1));
    EXPECT_FALSE(TP_PhaseChanged(0));
    EXPECT_FALSE(TP_PhaseChanged(2));
    EXPECT_EQ(ShowPhase(3), "20:00-24:00");
    TP_RestoreCopy();
    EXPECT_EQ(ShowPhase(1), "06:40-11:40");
    EXPECT_FALSE(TP_PhaseChanged(1));
    // Out of range phases are refused, not written.
    EXPECT_FALSE(TP_OnUp(nullptr, 4));
    EXPECT_FALSE(TP_OffDown(nullptr, 200));
}

// The image with every day of every program of circuit 1 set to a phase.
struct Week : Screen {
    Week()
    {
        DAT_SelectCircuit(1);
        std::memset(DAT_image.switching, 0xFF, sizeof DAT_image.switching);
        TP_SetKind(0);
        for (std::uint8_t d = 0; d < 7; ++d) {
            DAT_image.switching[0][0][d][0] = 36;
            DAT_image.switching[0][0][d][1] = 132;
        }
    }
    static void StoreDay(std::uint8_t menuIndex, std::uint8_t on, std::uint8_t off)
    {
        TP_SetDayByMenuIndex(menuIndex);
        TP_Load();
        TP_edit.onTime[0] = on;
        TP_edit.offTime[0] = off;
        TP_Store();
    }
    static std::string Marks()
    {
        return std::string(TP_GroupMark(0) ? "W" : "-") + (TP_GroupMark(8) ? "F" : "-") + (TP_GroupMark(9) ? "S" : "-");
    }
};

TEST(TimeProgramGroups, MarksFollowWritesToSingleDays)
{
    Week w;
    EXPECT_EQ(Week::Marks(), "W--"); // the whole week alike: only "Montag-Sonntag"
    Week::StoreDay(9, 48, 132);      // Sunday differs
    EXPECT_EQ(Week::Marks(), "-F-");
    Week::StoreDay(8, 48, 132); // Saturday as Sunday
    EXPECT_EQ(Week::Marks(), "-FS");
    Week::StoreDay(5, 30, 90); // Wednesday
    EXPECT_EQ(Week::Marks(), "--S");
    Week::StoreDay(1, 30, 90); // Monday to Friday as Wednesday
    EXPECT_EQ(Week::Marks(), "-FS");
    Week::StoreDay(2, 30, 90); // the weekend as well: the week is alike again
    EXPECT_EQ(Week::Marks(), "W--");
    // Another circuit and another program have marks of their own.
    TP_SetKind(1);
    DAT_image.switching[0][1][6][0] = 10;
    EXPECT_EQ(Week::Marks(), "-F-");
    TP_SetKind(0);
    DAT_SelectCircuit(2);
    EXPECT_EQ(Week::Marks(), "W--");
}

TEST(TimeProgramGroups, AGroupWritesEachOfItsDaysAndNoOther)
{
    Week w;
    Week::StoreDay(1, 42, 60); // Monday to Friday
    for (std::uint8_t d = 0; d < 7; ++d) {
        const bool written = d < 5;
        EXPECT_EQ(DAT_image.switching[0][0][d][0], written ? 42 : 36) << "day " << int(d);
        EXPECT_EQ(DAT_image.switching[0][0][d][1], written ? 60 : 132) << "day " << int(d);
        EXPECT_EQ(DAT_image.switching[0][0][d][2], U) << "day " << int(d);
    }
    // Eight records: on and off of each phase.
    EXPECT_EQ(DIS_QueueCount(), 8);
    // Reading a group gives its first day.
    Week::StoreDay(8, 1, 2); // Saturday alone
    TP_SetDayByMenuIndex(2);
    TP_Load();
    EXPECT_EQ(TP_edit.onTime[0], 1);
    EXPECT_EQ(DAT_image.switching[0][0][6][0], 36); // Sunday untouched
}

TEST(TimeProgramGroups, ANonsenseDayFromTheControlUnitShowsAsUnset)
{
    Week w;
    std::uint8_t* monday = DAT_image.switching[0][0][0];
    const std::uint8_t bad[8] = {50, 40, 144, 150, 0, 0, 3, 200};
    std::memcpy(monday, bad, 8);
    TP_SetDayByMenuIndex(3);
    TP_Load();
    for (std::uint8_t p = 0; p < 4; ++p) {
        EXPECT_EQ(ShowPhase(p), "--:-----:--") << "phase " << int(p);
    }
}

TEST(TimeProgramBar, TimesMapOntoTheDay)
{
    EXPECT_EQ(TP_BarX(0), 10);
    EXPECT_EQ(TP_BarX(6), 19); // one hour, nine pixels
    EXPECT_EQ(TP_BarX(1), 11); // 10 minutes: 1.5 pixels, cut
    EXPECT_EQ(TP_BarX(144), 226);
}

struct BarCase {
    const char* golden;
    Phases phases;
    int highlighted;
};

TEST(TimeProgramBar, Goldens)
{
    const BarCase cases[] = {
        {"timebar_empty", {{U, U, U, U}, {U, U, U, U}}, -1},
        {"timebar_one", {{36, U, U, U}, {132, U, U, U}}, 0},
        {"timebar_four", {{0, 40, 80, 120}, {30, 70, 110, 138}}, 2},
        {"timebar_to_midnight", {{U, 126, U, U}, {U, 144, U, U}}, 1},
    };
    for (const BarCase& c : cases) {
        Screen s;
        Set(c.phases);
        GUI_EraseScreen();
        TP_DrawScale();
        TP_DrawBar(c.highlighted);
        LCD_Refresh();
        EXPECT_TRUE(LcdMatchesGolden(s.host(), c.golden));
        if (c.highlighted >= 0) {
            // The highlighted phase is solid from its start to its end.
            const int x0 = TP_BarX(c.phases.on[c.highlighted]);
            const int x1 = TP_BarX(c.phases.off[c.highlighted]);
            EXPECT_EQ(Screen::countRow(48, x0, x1), x1 - x0 + 1) << c.golden;
        }
    }
}

} // namespace

namespace {

// The control unit learns every time of a stored day and sends it back when
// it is next asked for the day's programs.
TEST(TimeProgramRecords, TheTimesReachTheControlUnitAndComeBack)
{
    Harness h;
    DAT_InitDefaults(1'767'600'000);
    DIS_LinkInit();
    ControlUnit cu;
    DAT_SelectCircuit(1);
    TP_SetKind(0);
    TP_SetDayByMenuIndex(1); // Monday to Friday
    TP_Load();
    TP_edit.onTime[0] = 33;   // 05:30
    TP_edit.offTime[0] = 144; // 24:00
    TP_Store();
    std::vector<std::vector<std::uint8_t>> records;
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(DIS_OfferNext()) << "record " << i;
        records.push_back(cu.round());
        std::uint8_t taken[32];
        DIS_TakeDataTelegram(taken);
    }
    // In order of phase and edge, each with its day code and time.
    for (std::uint8_t i = 0; i < 8; ++i) {
        const std::vector<std::uint8_t>& r = records[i];
        ASSERT_EQ(r.size(), 13U) << "record " << int(i);
        EXPECT_EQ(r[3], 214);
        EXPECT_EQ(r[4], i % 2) << "edge of record " << int(i);
        EXPECT_EQ(r[5], i / 2) << "phase of record " << int(i);
        EXPECT_EQ(r[8], 8) << "day code of record " << int(i);
        const std::uint8_t time = i == 0 ? 5 * 8 + 3 : i == 1 ? 24 * 8 : 255;
        EXPECT_EQ(r[12], time) << "record " << int(i);
    }
    // Friday has them, Saturday not.
    const std::vector<std::uint8_t> friday = cu.telegram(7, 1, 1, 0);
    EXPECT_EQ(friday[2], 33);
    EXPECT_EQ(friday[3], 144);
    const std::vector<std::uint8_t> saturday = cu.telegram(8, 1, 1, 0);
    EXPECT_EQ(saturday[2], 0);
    // Other short records stay nine bytes on the wire.
    DIS_UO_Plain(223);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(cu.round().size(), 9U);
}

} // namespace
