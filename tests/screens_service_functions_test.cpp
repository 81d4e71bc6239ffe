// The tests the control unit runs for the contractor: the flue-gas test,
// filling, and the maximum heating output and fan speed with their trial
// values, against the test control unit in virtual time.
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "core/SM.h"
#include "data/DAT.h"
#include "screens/base/BAP.h"
#include "screens/base/BGA.h"
#include "screens/base/BGM.h"
#include "screens/base/BHA.h"
#include "screens/base/BMA.h"
#include "screens/common/SCR.h"
#include "screens/service/BBF.h"
#include "screens/service/BIF.h"
#include "screens/service/BMG.h"
#include "screens/service/BMH.h"
#include "sim/ControlUnit.h"
#include "support/PanelRun.h"
#include "support/Script.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(BarPosition, EndsMiddleOutsideAndEqualLimits)
{
    EXPECT_EQ(BMH_BarX(13, 13, 89), 19);
    EXPECT_EQ(BMH_BarX(89, 13, 89), 218);
    EXPECT_EQ(BMH_BarX(50, 0, 100), 50 * 199 / 100 + 19);
    EXPECT_EQ(BMH_BarX(0, 13, 89), 19) << "below the limits: the bar's start";
    EXPECT_EQ(BMH_BarX(255, 13, 89), 218) << "above: its end";
    EXPECT_EQ(BMH_BarX(40, 40, 40), 218) << "equal limits divide by nothing";
    EXPECT_EQ(BMH_BarX(39, 40, 40), 19);
}

void Key(std::uint16_t sig)
{
    SM_DispatchSignal(SM_TaskHsm(BED_Task), sig, 0);
}

SM_Handler Shown()
{
    return SM_TaskState(BED_Task);
}

class ServiceFunctions : public ::testing::Test {
  protected:
    void at(std::uint64_t ms, std::function<void()> action) { steps.push_back({ms + 50, std::move(action)}); }
    // The control unit takes the bus at 1 s and reads a record every 100 ms.
    void run(std::uint64_t endMs, bool answering = true)
    {
        steps.push_back({1000, [this, answering] {
                             DAT_image.service[DAT_SERVICE_REQUESTS] = 0x03; // no commissioning
                             if (answering) {
                                 unit = std::make_unique<ControlUnit>();
                             }
                         }});
        for (std::uint64_t t = 1100; t < endMs; t += 100) {
            steps.push_back({t, [this] {
                                 if (unit) {
                                     unit->round();
                                 }
                             }});
        }
        p.run(steps, endMs);
    }
    // Code and parameters of the records read with this code.
    std::vector<Bytes> records(std::uint8_t code) const
    {
        std::vector<Bytes> out;
        for (const Bytes& r : unit->records()) {
            if (r.size() > 3 && r[3] == code) {
                out.emplace_back(r.begin() + 3, r.end());
            }
        }
        return out;
    }

    PanelRun p;
    std::unique_ptr<ControlUnit> unit;
    std::vector<PanelStep> steps;
};

// Up at the maximum sends nothing; OK stores (the image too); the stored
// feedback leaves by itself.
TEST_F(ServiceFunctions, HeatingOutputStopsAtItsMaximumAndStores)
{
    at(11000, [this] {
        DAT_image.service[DAT_SERVICE_MAX_POWER] = 88;
        unit->model().service[DAT_SERVICE_MAX_POWER] = 88;
        OpenScreen(BMH_Startabfrage, SCR_FROM_PARENT);
        Key(SIG_KEY_UP);
        Key(SIG_KEY_OK);
        ASSERT_EQ(Shown(), BMH_HeizleistungDialog);
        Key(SIG_KEY_UP);
        Key(SIG_KEY_RIGHT);
        Key(SIG_KEY_UP);
    });
    at(12000, [] { Key(SIG_KEY_OK); });
    at(12500, [this] {
        EXPECT_EQ(records(248), (std::vector<Bytes>{{248, 89, 0x55, 0, 0, 0}, {248, 89, 0xAA, 0, 0, 0}}));
        EXPECT_EQ(DAT_image.service[DAT_SERVICE_MAX_POWER], 89);
        EXPECT_EQ(unit->model().service[DAT_SERVICE_MAX_POWER], 89);
        EXPECT_EQ(Shown(), BMH_HeizleistungDialog);
    });
    at(17000, [] { EXPECT_EQ(Shown(), BIF_InbetriebnahmeMenue) << "the stored feedback leaves after 4 s"; });
    run(17500);
}

// Leaving other than by OK withdraws the trial: MENU, and the help page
// (whose return puts the trial in force again).
TEST_F(ServiceFunctions, HeatingOutputTrialWithdrawnOnEveryWayOut)
{
    at(11000, [] {
        OpenScreen(BMH_Startabfrage, SCR_FROM_PARENT);
        Key(SIG_KEY_LEFT);
        Key(SIG_KEY_OK);
        Key(SIG_KEY_DOWN);
        Key(SIG_HELP);
        EXPECT_EQ(Shown(), BHA_Hilfeanzeige);
    });
    at(12000, [] {
        Key(SIG_KEY_BACK);
        EXPECT_EQ(Shown(), BMH_HeizleistungDialog);
    });
    at(12500, [] {
        Key(SIG_KEY_MENU);
        EXPECT_EQ(Shown(), BGM_Grundmenue);
    });
    at(13000, [this] {
        const std::uint8_t v = 0x44 - 1;
        EXPECT_EQ(records(248),
                  (std::vector<Bytes>{
                      {248, v, 0x55, 0, 0, 0}, {248, v, 0, 0, 0, 0}, {248, v, 0x55, 0, 0, 0}, {248, v, 0, 0, 0, 0}}));
        EXPECT_EQ(DAT_image.service[DAT_SERVICE_MAX_POWER], 0x44) << "nothing stored";
    });
    run(13500);
}

// OK on stage 1 sends nothing; the second OK stores both stages; BACK after
// steps ends the trial once per stage.
TEST_F(ServiceFunctions, FanSpeedStagesOneThenTwo)
{
    at(11000, [] {
        OpenScreen(BMG_Startabfrage, SCR_FROM_PARENT);
        Key(SIG_KEY_UP);
        Key(SIG_KEY_OK);
        ASSERT_EQ(Shown(), BMG_GeblaesedrehzahlDialog);
        Key(SIG_KEY_DOWN); // at 0 already
        Key(SIG_KEY_UP);
        Key(SIG_KEY_UP);
        Key(SIG_KEY_OK);
    });
    at(11500, [this] {
        EXPECT_EQ(records(250).size(), 2U) << "OK on stage 1 stores nothing";
        Key(SIG_KEY_RIGHT);
        Key(SIG_KEY_OK);
    });
    at(12500, [this] {
        EXPECT_EQ(records(250), (std::vector<Bytes>{{250, 0, 1, 0x55, 0, 0},
                                                    {250, 0, 2, 0x55, 0, 0},
                                                    {250, 1, 1, 0x55, 0, 0},
                                                    {250, 0, 2, 0xAA, 0, 0},
                                                    {250, 1, 1, 0xAA, 0, 0}}));
        EXPECT_EQ(DAT_image.fanSpeed[0], 2);
        EXPECT_EQ(DAT_image.fanSpeed[1], 1);
        Key(SIG_KEY_OK);
        EXPECT_EQ(Shown(), BIF_InbetriebnahmeMenue);
        Key(SIG_KEY_OK);
    });
    at(13000, [] {
        OpenScreen(BMG_Startabfrage, SCR_FROM_PARENT);
        Key(SIG_KEY_UP);
        Key(SIG_KEY_OK);
        Key(SIG_KEY_UP);
        Key(SIG_KEY_UP);
        Key(SIG_KEY_BACK);
        EXPECT_EQ(Shown(), BIF_InbetriebnahmeMenue);
    });
    at(14000, [this] {
        const std::vector<Bytes> r = records(250);
        ASSERT_EQ(r.size(), 9U);
        EXPECT_EQ(r[7], (Bytes{250, 0, 4, 0, 0, 0}));
        EXPECT_EQ(r[8], (Bytes{250, 1, 1, 0, 0, 0}));
        EXPECT_EQ(DAT_image.fanSpeed[0], 2) << "nothing stored";
    });
    run(14500);
}

// While filling runs neither timeout leaves it; when the control unit ends
// it, the screen returns to the service functions at its next look.
TEST_F(ServiceFunctions, FillingOutlivesTheTimeoutsUntilTheControlUnitEndsIt)
{
    at(11000, [] {
        OpenScreen(BBF_Befuellung, SCR_FROM_PARENT);
        EXPECT_EQ(Shown(), BBF_Befuellung) << "waits for the control unit";
    });
    at(11500, [] {
        ASSERT_EQ(Shown(), BBF_BefuellungAbfrage);
        Key(SIG_KEY_DOWN);
        Key(SIG_KEY_OK);
        EXPECT_EQ(Shown(), BBF_BefuellungAktiv);
        Key(SIG_TMR_LIGHT_TIMEOUT);
        Key(SIG_TMR_SERVICE_TIMEOUT);
        Key(SIG_KEY_MENU);
        EXPECT_EQ(Shown(), BBF_BefuellungAktiv);
    });
    at(12000, [this] {
        EXPECT_EQ(records(247).back(), (Bytes{247, 13, 255, 0, 0, 0}));
        EXPECT_TRUE(DAT_FillingActive());
        unit->model().service[DAT_SERVICE_FUNCTIONS] &= static_cast<std::uint8_t>(~DAT_SVC13_FILLING);
    });
    at(30000, [] { EXPECT_EQ(Shown(), BBF_BefuellungAktiv) << "looks again only after 20 s"; });
    at(32000, [] {
        EXPECT_EQ(Shown(), BIF_InbetriebnahmeMenue);
        EXPECT_FALSE(DAT_FillingActive());
    });
    run(32500);
}

// Without an answer the wait gives up after 30 s, having started nothing.
TEST_F(ServiceFunctions, FillingWaitGivesUpAfterThirtySeconds)
{
    at(11000, [] { OpenScreen(BBF_Befuellung, SCR_FROM_PARENT); });
    at(40500, [] { EXPECT_EQ(Shown(), BBF_Befuellung); });
    at(41500, [] {
        EXPECT_EQ(Shown(), BIF_InbetriebnahmeMenue);
        EXPECT_FALSE(DAT_FillingActive());
    });
    run(42000, false);
}

// A status telegram while the question is up keeps the question, unless it
// brings a message; its default "Aus" sends nothing.
TEST_F(ServiceFunctions, FlueGasQuestionSurvivesAStatusAndAusStartsNothing)
{
    at(11000, [] {
        OpenScreen(BAP_Abgaspruefung, SCR_FROM_PARENT);
        ASSERT_EQ(Shown(), BAP_Startabfrage);
    });
    at(11200, [this] { unit->sendStatus({0x84, 0x00, 0x70, 0x66, 0x28, 0, 0, 0x43}); });
    at(11600, [] {
        EXPECT_EQ(Shown(), BAP_Startabfrage);
        Key(SIG_KEY_OK);
        EXPECT_EQ(Shown(), BGA_GrundanzeigeMenue);
    });
    at(12000, [this] {
        EXPECT_TRUE(records(247).empty());
        EXPECT_FALSE(DAT_FlueGasTestActive());
        OpenScreen(BAP_Abgaspruefung, SCR_FROM_PARENT);
        unit->sendStatus({0x86, 0x00, 0x70, 0x66, 0x28, 0, 0, 0x43});
    });
    at(12400, [] { EXPECT_EQ(Shown(), BMA_Stoerung) << "a fault message still takes the screen"; });
    run(12500);
}

} // namespace
