// Participant check against control units with many, duplicate or silent
// participants: the list never grows past the rows its screen can show, and
// a check that is never answered is tried ten times more, then fails.
#include <gtest/gtest.h>
#include <memory>
#include <vector>

#include "core/SM.h"
#include "data/DAT.h"
#include "screens/base/BGA.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/service/BIF.h"
#include "screens/service/BTC.h"
#include "sim/ControlUnit.h"
#include "support/PanelRun.h"
#include "support/Script.h"

namespace {

using Participants = std::vector<ControlUnit::Participant>;

class ParticipantCheck : public ::testing::Test {
  protected:
    // The control unit takes the bus at 1 s and reads a record every 100 ms.
    void withParticipants(Participants list)
    {
        steps.push_back({1000, [this, list] {
                             DAT_image.service[1] = 0x03; // no commissioning
                             unit = std::make_unique<ControlUnit>();
                             unit->setParticipants(list);
                         }});
    }
    void at(std::uint64_t ms, std::function<void()> action) { steps.push_back({ms + 50, std::move(action)}); }
    void run(std::uint64_t endMs)
    {
        for (std::uint64_t t = 1100; t < endMs; t += 100) {
            steps.push_back({t, [this] {
                                 if (unit) {
                                     unit->round();
                                 }
                             }});
        }
        p.run(steps, endMs);
    }
    // Records of code 243 with this function read so far.
    int records(std::uint8_t function) const
    {
        int n = 0;
        for (const auto& r : unit->records()) {
            n += r.size() > 4 && r[3] == 243 && r[4] == function ? 1 : 0;
        }
        return n;
    }
    static SM_Handler shown() { return SM_TaskState(BED_Task); }
    static void key(std::uint16_t sig) { SM_DispatchSignal(SM_TaskHsm(BED_Task), sig, 0); }

    PanelRun p;
    std::unique_ptr<ControlUnit> unit;
    std::vector<PanelStep> steps;
};

Participants Many(int n)
{
    Participants list;
    for (int i = 0; i < n; ++i) {
        list.push_back({static_cast<std::uint8_t>(i + 1), static_cast<std::uint8_t>(0x40 + i), true});
    }
    return list;
}

TEST_F(ParticipantCheck, AListOfFortyStopsAtTheThirtyTwoRowsTheScreenCanReach)
{
    withParticipants(Many(40));
    at(11000, [] { OpenScreen(BTC_AufbauTeilnehmerListe, SCR_FROM_PARENT); });
    at(20000, [this] {
        ASSERT_EQ(shown(), BTC_TeilnehmerCheckMenue);
        EXPECT_EQ(BTC_ParticipantCount(), BTC_MAX_PARTICIPANTS);
        EXPECT_EQ(BTC_ParticipantNumber(31), 32);
        EXPECT_EQ(records(3), 32) << "no request for a 33rd";
        EXPECT_EQ(ML_VisibleCount(), BTC_MAX_PARTICIPANTS + 1);
        // Every participant row and the delete row can be reached.
        for (int i = 0; i < 40; ++i) {
            key(SIG_KEY_DOWN);
        }
        EXPECT_EQ(ML_GetCursor(), BTC_MAX_PARTICIPANTS);
        key(SIG_KEY_UP);
        key(SIG_KEY_OK);
        EXPECT_EQ(shown(), BTC_Teilnehmercheck);
    });
    run(20500);
}

TEST_F(ParticipantCheck, TheEndMarkADuplicateOrSilenceCloseTheList)
{
    // A duplicate: the control unit names its second participant again.
    withParticipants({{3, 0x10, true}, {4, 0x11, true}, {3, 0x10, true}, {5, 0x12, true}});
    at(11000, [] { OpenScreen(BTC_AufbauTeilnehmerListe, SCR_FROM_PARENT); });
    at(14000, [] {
        EXPECT_EQ(shown(), BTC_TeilnehmerCheckMenue);
        EXPECT_EQ(BTC_ParticipantCount(), 2);
    });
    // The end mark first: nobody.
    at(14100, [this] { unit->setParticipants({}); });
    at(14200, [] { OpenScreen(BTC_AufbauTeilnehmerListe, SCR_FROM_PARENT); });
    at(16000, [] { EXPECT_EQ(shown(), BTC_FeedbackListeLeer); });
    at(20500, [] { EXPECT_EQ(shown(), BIF_InbetriebnahmeMenue) << "4 s of \"Kein Teilnehmer\""; });
    // No answer at all: after 4 s the list is what came, here nothing.
    at(20600, [this] { unit.reset(); });
    at(20700, [] { OpenScreen(BTC_AufbauTeilnehmerListe, SCR_FROM_PARENT); });
    at(24000, [] { EXPECT_EQ(shown(), BTC_AufbauTeilnehmerListe); });
    at(25000, [] { EXPECT_EQ(shown(), BTC_FeedbackListeLeer); });
    run(25100);
}

TEST_F(ParticipantCheck, ASilentParticipantIsTriedTenTimesMoreThenFails)
{
    withParticipants({{1, 0x11, true}, {9, 0x29, false}});
    at(11000, [] { OpenScreen(BTC_AufbauTeilnehmerListe, SCR_FROM_PARENT); });
    at(13000, [] {
        ASSERT_EQ(shown(), BTC_TeilnehmerCheckMenue);
        key(SIG_KEY_DOWN);
        key(SIG_KEY_OK);
    });
    at(19000, [this] {
        EXPECT_EQ(shown(), BTC_TeilnehmercheckFeedback);
        EXPECT_EQ(records(4), 11);
    });
    // The one that answers passes at the first try.
    at(19100, [] { key(SIG_KEY_BACK); });
    at(19200, [] {
        key(SIG_KEY_UP);
        key(SIG_KEY_OK);
    });
    at(21000, [this] {
        EXPECT_EQ(shown(), BTC_TeilnehmercheckFeedback);
        EXPECT_EQ(records(4), 12);
    });
    run(21100);
}

TEST_F(ParticipantCheck, TheWinkBlinksForAMinuteThenReturnsToTheBaseDisplay)
{
    withParticipants({});
    at(11000, [] { SM_Post(BED_Task, SIG_PARTICIPANT_WINK, 0); });
    at(70000, [] { EXPECT_EQ(shown(), BTC_TeilnehmerWink); });
    at(73000, [] { EXPECT_EQ(shown(), BGA_GrundanzeigeMenue); });
    run(73100);
}

} // namespace
