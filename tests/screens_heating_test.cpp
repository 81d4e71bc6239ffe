// The heating curve's arithmetic and chart, its texts, the circuit choice
// and the circuit reset with the records it files in order.
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "comm/DIS_Link.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/user/BHKG.h"
#include "screens/user/BHKW.h"
#include "screens/user/BRT.h"
#include "screens/user/HK.h"
#include "sim/ControlUnit.h"
#include "support/Golden.h"
#include "support/PanelRun.h"
#include "support/Screen.h"
#include "support/Script.h"

namespace {

TEST(HeatingCurve, FlowFollowsSlopeAndLevelAndStaysWithinZeroAndHundred)
{
    Screen s;
    HK_curve = HK_Curve{14, 0};
    EXPECT_FLOAT_EQ(HK_CurveFlow(20, 20), 20.0F) << "no difference to the room: the room temperature";
    // d = -30: 20 + 1.4 x 30 x (1.4347 - 0.63 + 0.2231)
    EXPECT_NEAR(HK_CurveFlow(20, -10), 20 + 1.4 * 30 * (1.4347 - 0.63 + 0.2231), 0.01);
    EXPECT_NEAR(HK_CurveFlow(20, -10), 63.2, 0.5);
    HK_curve.level = 5;
    EXPECT_NEAR(HK_CurveFlow(20, -10), 68.2, 0.5) << "the level shifts the whole curve";
    HK_curve = HK_Curve{35, 40};
    EXPECT_FLOAT_EQ(HK_CurveFlow(20, -30), 100.0F);
    HK_curve = HK_Curve{2, -13};
    EXPECT_FLOAT_EQ(HK_CurveFlow(3, 20), 0.0F);
}

TEST(HeatingCurve, SlopeAndLevelTexts)
{
    Screen s;
    char text[16];
    HK_FormatSlope(14, text, sizeof text);
    EXPECT_STREQ(text, "1,4");
    HK_FormatSlope(2, text, sizeof text);
    EXPECT_STREQ(text, "0,2");
    HK_FormatSlope(35, text, sizeof text);
    EXPECT_STREQ(text, "3,5");
    HK_FormatLevel(-13, text, sizeof text);
    EXPECT_STREQ(text, "-13 K");
    HK_FormatLevel(40, text, sizeof text);
    EXPECT_STREQ(text, "40 K");
    HK_FormatSlope(14, text, 3);
    EXPECT_STREQ(text, "1,") << "cut to the buffer";
}

struct Chart {
    const char* golden;
    std::uint8_t slope;
    std::int8_t level;
    bool fahrenheit;
};

class HeatingChart : public ::testing::TestWithParam<Chart> {};

TEST_P(HeatingChart, DrawnByTheCurve)
{
    Screen s;
    const Chart& c = GetParam();
    DAT_SetStatusWordFlag(DAT_SW_FAHRENHEIT, c.fahrenheit);
    HK_curve = HK_Curve{c.slope, c.level};
    GUI_EraseScreen();
    HK_DrawChart();
    EXPECT_TRUE(Screen::on(10, 91) && Screen::on(229, 91) && Screen::on(10, 38)) << "both axes";
    EXPECT_FALSE(Screen::on(10, 27)) << "nothing above the chart's area";
    EXPECT_TRUE(LcdMatchesGolden(s.host(), c.golden));
}

INSTANTIATE_TEST_SUITE_P(Goldens, HeatingChart,
                         ::testing::Values(Chart{"chart_slope_14", 14, 0, false}, Chart{"chart_slope_2", 2, 0, false},
                                           Chart{"chart_slope_35", 35, 0, false},
                                           Chart{"chart_level_minus_13", 14, -13, false},
                                           Chart{"chart_level_40", 14, 40, false},
                                           Chart{"chart_clipped", 30, 20, false},
                                           Chart{"chart_fahrenheit", 14, 0, true}),
                         [](const auto& chart) { return std::string(chart.param.golden); });

TEST(HeatingChart, AFlowAbove100IsDrawnAtTheTop)
{
    Screen s;
    HK_curve = HK_Curve{35, 40};
    GUI_EraseScreen();
    HK_DrawChart();
    // At -30 °C the curve's last point sits on the top tick's row, not above the axis.
    EXPECT_TRUE(Screen::on(10 + 218, 91 - 53));
    for (int y = 28; y < 91 - 53; ++y) {
        EXPECT_FALSE(Screen::on(10 + 218, y)) << "y " << y;
    }
}

// The whole panel with a control unit that answers every 100 ms; actions
// every 300 ms between the bus rounds.
class Circuits : public ::testing::Test {
  public:
    Circuits()
    {
        steps.push_back({1000, [] { DAT_image.service[1] = 0x03; }});
    }
    Circuits& then(std::function<void()> action)
    {
        steps.push_back({at, std::move(action)});
        at += 300;
        return *this;
    }
    Circuits& key(std::uint16_t sig)
    {
        return then([sig] { SM_Post(BED_Task, sig, 0); });
    }
    Circuits& wait(std::uint64_t ms)
    {
        at += ms;
        return *this;
    }
    Circuits& expect(SM_Handler state, const char* what)
    {
        return then([state, what] { EXPECT_EQ(SM_TaskState(BED_Task), state) << what; });
    }
    void Run()
    {
        steps.push_back({1500, [this] {
                             static ControlUnit* unit = nullptr;
                             delete unit;
                             unit = new ControlUnit(); // after the defaults are in the image
                             cu = unit;
                         }});
        for (std::uint64_t t = 1600; t < at + 1000; t += 100) {
            steps.push_back({t, [this] { cu->round(); }});
        }
        ASSERT_TRUE(p.run(steps, at + 1000));
    }
    // Codes of the records read since `from`, requests left out.
    std::vector<int> Codes(std::size_t from) const
    {
        std::vector<int> codes;
        for (std::size_t i = from; i < cu->records().size(); ++i) {
            const auto& r = cu->records()[i];
            if (r[0] != '#' && r[3] != 231) {
                codes.push_back(r[3]);
            }
        }
        return codes;
    }
    static void Open(BHKW_Target target) { BHKW_Open(SM_TaskHsm(BED_Task), target); }

    PanelRun p;
    std::vector<PanelStep> steps;
    std::uint64_t at = Script::kStarted + 50; // between two bus rounds
    ControlUnit* cu = nullptr;
    std::size_t mark = 0;
};

TEST_F(Circuits, ResetFilesItsRecordsInOrderAndTheControlUnitAnswers)
{
    // Circuit 2 is changed first, so that the answer shows the reset.
    then([this] {
        DAT_SelectCircuit(2);
        cu->model().circuit[1][DAT_CIRCUIT_SLOPE] = 22;
        cu->model().circuit[1][DAT_CIRCUIT_MODE] = 0x0C | DAT_MODE_PARTY;
        Open(BHKW_TO_RESET);
    });
    expect(BHKW_HKWahl, "two circuits: the choice");
    key(SIG_KEY_OK).expect(BHKG_HKGrundeinstellung, "circuit 2 chosen").then([] {
        EXPECT_EQ(DAT_CurrentCircuit(), 2);
    });
    key(SIG_KEY_OK).expect(BHKW_HKWahl, "Nein does nothing").then([this] { mark = cu->records().size(); });
    key(SIG_KEY_OK).key(SIG_KEY_UP).key(SIG_KEY_OK).expect(BHKG_Feedback, "Ja").then([] {
        // 06:00 to 22:00 on every day, before the control unit's answers come in.
        for (const auto& day : DAT_image.switching[1][0]) {
            EXPECT_EQ(day[0], 36);
            EXPECT_EQ(day[1], 132);
            EXPECT_EQ(day[2], 255);
            EXPECT_EQ(day[7], 255);
        }
    });
    wait(3000).then([this] {
        const std::vector<int> expected{229, 214, 214, 214, 214, 214, 214, 214, 214,
                                        219, 210, 211, 202, 205, 206, 204, 221};
        EXPECT_EQ(Codes(mark), expected);
        std::size_t i = mark;
        while (cu->records()[i][3] != 229) {
            ++i;
        }
        EXPECT_EQ(cu->records()[i][2], 2) << "the circuit reset is circuit 2's";
        EXPECT_EQ(cu->records()[i][4], 2);
        EXPECT_EQ(cu->records()[i + 1][4], 0) << "phase 1's on-time first";
        EXPECT_EQ(cu->records()[i + 2][4], 1) << "then its off-time";
        EXPECT_EQ(cu->records()[i + 3][5], 1) << "then phase 2";
        // The control unit's answers: its model now holds the defaults.
        EXPECT_EQ(DAT_CircuitByte(DAT_CIRCUIT_SLOPE), 14);
        EXPECT_EQ(DAT_CircuitByte(DAT_CIRCUIT_ROOM_SET), 20);
        EXPECT_EQ(DAT_CircuitByte(DAT_CIRCUIT_REDUCED_SET), 3);
        EXPECT_FALSE(DAT_PartyOn());
        EXPECT_EQ(DAT_OperatingProgram(), DAT_PROGRAM_HEATING);
    });
    wait(1500).expect(BHKW_HKWahl, "the feedback returns to the choice");
    key(SIG_KEY_BACK).then([] { EXPECT_NE(SM_TaskState(BED_Task), SM_Handler(BHKW_HKWahl)); });
    Run();
}

TEST_F(Circuits, WithOneCircuitTheTargetOpensAtOnceAndBackLeavesTheChoiceToo)
{
    then([] {
        DAT_image.plant[DAT_CFG_OPTIONS] = 0x48; // circuit 2 only
        Open(BHKW_TO_ROOM_TEMPERATURE);
    });
    expect(BRT_TemperaturDialog, "no choice to make").then([] { EXPECT_EQ(DAT_CurrentCircuit(), 2); });
    key(SIG_KEY_BACK).then([] {
        EXPECT_NE(SM_TaskState(BED_Task), SM_Handler(BHKW_HKWahl));
        EXPECT_NE(SM_TaskState(BED_Task), SM_Handler(BRT_TemperaturDialog));
    });
    Run();
}

TEST_F(Circuits, TheChoiceComesBackFromItsTargetWithTwoCircuits)
{
    // An unknown target opens nothing.
    then([] { Open(static_cast<BHKW_Target>(99)); }).then([] {
        EXPECT_EQ(SM_TaskState(BED_Task), SM_Handler(BGA_GrundanzeigeMenue));
    });
    then([] { Open(BHKW_TO_ROOM_TEMPERATURE); });
    expect(BHKW_HKWahl, "the choice").then([this] { EXPECT_TRUE(LcdMatchesGolden(p.host(), "circuit_choice")); });
    key(SIG_KEY_DOWN).key(SIG_KEY_OK).expect(BRT_TemperaturDialog, "circuit 2's").then([] {
        EXPECT_EQ(DAT_CurrentCircuit(), 2);
    });
    key(SIG_KEY_BACK).expect(BHKW_HKWahl, "back to the choice");
    Run();
}

TEST_F(Circuits, ResetQuestionAndFeedbackLookAsTheyShould)
{
    then([] { Open(BHKW_TO_RESET); }).key(SIG_KEY_OK);
    then([this] { EXPECT_TRUE(LcdMatchesGolden(p.host(), "circuit_reset_question")); });
    key(SIG_KEY_LEFT).key(SIG_KEY_OK).then([this] { EXPECT_TRUE(LcdMatchesGolden(p.host(), "circuit_reset_done")); });
    key(SIG_KEY_RIGHT).expect(BHKW_HKWahl, "a cursor key leaves the feedback too");
    Run();
}

} // namespace
