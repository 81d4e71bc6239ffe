// Commissioning assistant, language list and the time and date dialogs, run
// in the whole panel with keys posted as the key task would.
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "core/DTM.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "screens/base/BGA.h"
#include "screens/base/BMA.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/FMT_Date.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/service/BIA.h"
#include "screens/user/BEM.h"
#include "screens/user/BES.h"
#include "screens/user/BUD.h"
#include "support/PanelRun.h"
#include "support/Script.h"

namespace {

void SetClock(const DTM_Clock& c)
{
    SM_Post(DTM_Task, SIG_CLOCK_SET, DTM_RecordToSeconds(c));
}

// Without the commissioning request, the base display at the end of the start-up.
void Plain()
{
    DAT_image.service[1] = 0x03;
}

TEST(Commissioning, LanguageThenTimeAndDateThenTheClosingMessageEndsItself)
{
    PanelRun p;
    Script s;
    s.expect(BES_EinstellungSprache, "the assistant opens the language list at once")
        .key(SIG_KEY_BACK)
        .expect(BES_EinstellungSprache, "back reopens the list")
        .key(SIG_KEY_MENU)
        .expect(BES_EinstellungSprache, "the menu key is swallowed")
        .key(SIG_KEY_DOWN)
        .key(SIG_KEY_OK)
        .then([] {
            EXPECT_EQ(SM_TaskState(BED_Task), BES_EinstellungSpracheFeedback);
            EXPECT_EQ(TXT_GetLanguage(), 1);
            EXPECT_EQ(DAT_GetLanguageByte(), 1);
        })
        .key(SIG_KEY_OK)
        .expect(BIA_InbetriebnahmeAssistent, "the time and date prompt")
        .wait(5000)
        .expect(BIA_InbetriebnahmeAssistent, "the prompt waits for OK")
        .key(SIG_KEY_OK)
        .expect(BUD_UhrzeitDialog, "time dialog")
        .key(SIG_KEY_MENU)
        .expect(BUD_UhrzeitDialog, "the menu key is swallowed in the commissioning flow")
        .key(SIG_KEY_BACK)
        .expect(BIA_InbetriebnahmeAssistent, "back in the time dialog: the prompt of the same step")
        .key(SIG_KEY_OK)
        .key(SIG_KEY_OK)
        .expect(BUD_DatumDialog, "an unchanged time leads straight to the date")
        .key(SIG_KEY_BACK)
        .expect(BUD_UhrzeitDialog, "back in the date dialog: the time dialog")
        .key(SIG_KEY_OK)
        .key(SIG_KEY_OK)
        .expect(BIA_InbetriebnahmeAssistent, "closing message")
        // Back on the closing message: one step back, and its timer must not confirm the prompt.
        .key(SIG_KEY_BACK)
        .wait(4500)
        .expect(BIA_InbetriebnahmeAssistent, "the prompt of time and date, still")
        .key(SIG_KEY_OK)
        .key(SIG_KEY_OK)
        .key(SIG_KEY_OK)
        .then([] { EXPECT_TRUE(DAT_CommissioningRequested()); })
        .wait(4000)
        .then([] {
            EXPECT_EQ(SM_TaskState(BED_Task), BGA_GrundanzeigeMenue);
            EXPECT_FALSE(DAT_CommissioningRequested());
        });
    ASSERT_TRUE(s.run(p));
}

TEST(Commissioning, ClockOnlyAsksForTimeAndDateAndEndsWithoutTheClosingMessage)
{
    PanelRun p;
    Script s;
    s.early(Plain)
        .then([] {
            DAT_image.service[1] = 0x23;
            OpenScreen(BIA_InbetriebnahmeAssistent, 10);
        })
        .expect(BIA_InbetriebnahmeAssistent, "time and date prompt")
        .key(SIG_KEY_BACK)
        .expect(BIA_InbetriebnahmeAssistent, "back does not walk into the language")
        .key(SIG_KEY_OK)
        .key(SIG_KEY_OK)
        .key(SIG_KEY_OK)
        .then([] {
            EXPECT_EQ(SM_TaskState(BED_Task), BGA_GrundanzeigeMenue);
            EXPECT_FALSE(DAT_CommissioningRequested());
        });
    ASSERT_TRUE(s.run(p));
    EXPECT_FALSE(p.traced("BES_EinstellungSprache Entry"));
}

TEST(LanguageList, CursorAndFirstRowStayInsideTheListForAnyStoredIndex)
{
    PanelRun p;
    Script s;
    const std::uint8_t stored[] = {0, 1, 17, 18, 200};
    const std::uint8_t cursor[] = {0, 1, 17, 18, 18};
    const std::uint8_t first[] = {0, 0, 15, 15, 15};
    s.then(Plain);
    for (int i = 0; i < 5; ++i) {
        s.then([=] {
             DAT_SetLanguageByte(stored[i]);
             OpenScreen(BES_EinstellungSprache, 3);
             EXPECT_EQ(ML_GetCursor(), cursor[i]) << int(stored[i]);
             EXPECT_EQ(ML_GetFirstRow(), first[i]) << int(stored[i]);
             EXPECT_EQ(DAT_GetLanguageByte(), stored[i]) << "drawing the rows leaves the stored index alone";
         }).key(SIG_KEY_BACK);
    }
    ASSERT_TRUE(s.run(p));
}

TEST(TimeDialog, WrapsAroundMidnightWithoutTouchingTheDate)
{
    PanelRun p;
    Script s;
    s.then(Plain)
        .then([] {
            SetClock({2026, 1, 5, 1, 23, 59, 30});
        })
        .then([] { OpenScreen(BUD_UhrzeitDialog, 0); })
        .key(SIG_KEY_UP)
        .key(SIG_KEY_OK)
        .then([] {
            EXPECT_EQ(SM_TaskState(BED_Task), BUD_Feedback);
            const DTM_Clock c = DTM_GetClock();
            EXPECT_EQ(c.hour, 0);
            EXPECT_EQ(c.minute, 0);
            EXPECT_EQ(c.day, 5);
        })
        .key(SIG_KEY_OK)
        .expect(BUD_DatumUhrzeitMenue, "flow 0 returns to the menu");
    ASSERT_TRUE(s.run(p));
}

TEST(DateDialog, StaysBetween2009And2098)
{
    PanelRun p;
    Script s;
    s.then(Plain).then([] { SetClock({2098, 2, 27, 0, 10, 20, 30}); }).then([] { OpenScreen(BUD_DatumDialog, 0); });
    s.key(SIG_KEY_UP).key(SIG_KEY_RIGHT).key(SIG_KEY_UP).key(SIG_KEY_OK).then([] {
        const DTM_Clock c = DTM_GetClock();
        EXPECT_EQ(c.year, 2098);
        EXPECT_EQ(c.month, 2);
        EXPECT_EQ(c.day, 28);
        EXPECT_EQ(c.hour, 10); // the clock's own time
    });
    s.key(SIG_KEY_OK).then([] { SetClock({2009, 1, 2, 5, 8, 0, 0}); }).then([] { OpenScreen(BUD_DatumDialog, 0); });
    s.key(SIG_KEY_DOWN).key(SIG_KEY_LEFT).key(SIG_KEY_OK).then([] {
        const DTM_Clock c = DTM_GetClock();
        EXPECT_EQ(c.year, 2009);
        EXPECT_EQ(c.day, 1);
    });
    ASSERT_TRUE(s.run(p));
}

TEST(TimeDialog, FullRepeatSpeedAcceleratesUpTo120AndReleaseResets)
{
    PanelRun p;
    Script s;
    const auto ups = [](int n) {
        return [n] {
            for (int i = 0; i < n; ++i) {
                SM_DispatchSignal(SM_TaskHsm(BED_Task), SIG_KEY_UP, 0);
            }
        };
    };
    // 3 single steps, 25 of 2, 5 of 4; released, one single step: 74 minutes.
    s.then(Plain).then([] { SetClock({2026, 1, 5, 1, 0, 0, 0}); }).then([] { OpenScreen(BUD_UhrzeitDialog, 0); });
    s.then(ups(3)).key(SIG_KEY_FAST_REPEAT).then(ups(10)).then(ups(10)).then(ups(10)).key(SIG_KEY_RELEASED);
    s.then(ups(1)).key(SIG_KEY_OK).then([] {
        const DTM_Clock c = DTM_GetClock();
        EXPECT_EQ(c.hour * 60 + c.minute, 74);
    });
    // Growing by 2 every 25 steps reaches 120 after 1475 steps; 100 more stay at 120:
    // 88500 + 12000 minutes, 19:00 on the clock.
    s.key(SIG_KEY_OK).then([] { SetClock({2026, 1, 5, 1, 0, 0, 0}); }).then([] { OpenScreen(BUD_UhrzeitDialog, 0); });
    s.key(SIG_KEY_FAST_REPEAT);
    for (int i = 0; i < 1575 / 15; ++i) {
        s.then(ups(15));
    }
    s.key(SIG_KEY_OK).then([] {
        const DTM_Clock c = DTM_GetClock();
        EXPECT_EQ(c.hour, 19);
        EXPECT_EQ(c.minute, 0);
    });
    ASSERT_TRUE(s.run(p));
}

TEST(ClockMessage, OkLeadsThroughTimeAndDateBackToTheBaseDisplay)
{
    PanelRun p;
    Script s;
    s.early(Plain)
        .then([] {
            DAT_image.service[0] = 0xC2; // the clock must be set
            SM_Post(BED_Task, SIG_STATUS_UPDATED, 0);
        })
        .expect(BMA_UhrzeitStellen, "clock message")
        .key(SIG_KEY_OK)
        .expect(BUD_UhrzeitDialog, "time")
        .key(SIG_KEY_UP)
        .key(SIG_KEY_OK)
        .expect(BUD_Feedback, "changed: the feedback")
        .key(SIG_KEY_LEFT)
        .expect(BUD_DatumDialog, "any key goes on to the date")
        .key(SIG_KEY_BACK)
        .expect(BUD_UhrzeitDialog, "back: the time again")
        .key(SIG_KEY_OK)
        .key(SIG_KEY_OK)
        .expect(BGA_GrundanzeigeMenue, "the base display")
        .then([] { EXPECT_FALSE(DAT_ClockMustBeSet()); })
        .wait(6000)
        .expect(BGA_GrundanzeigeMenue, "the message does not come back");
    ASSERT_TRUE(s.run(p));
}

TEST(ClockMessage, BackLeavesTheRequestStanding)
{
    PanelRun p;
    Script s;
    s.early(Plain)
        .then([] {
            DAT_image.service[0] = 0xC2;
            SM_Post(BED_Task, SIG_STATUS_UPDATED, 0);
        })
        .key(SIG_KEY_OK)
        .key(SIG_KEY_OK)
        .expect(BUD_DatumDialog, "the date")
        .key(SIG_KEY_BACK)
        .key(SIG_KEY_BACK)
        .expect(BMA_UhrzeitStellen, "not set: the message again");
    ASSERT_TRUE(s.run(p));
}

// Every key moves the time and date feedback and the language feedback on,
// MENU and HELP as well.
class FeedbackKey : public ::testing::TestWithParam<std::uint16_t> {};

TEST_P(FeedbackKey, GoesOnToTheNextScreen)
{
    const std::uint16_t key = GetParam();
    PanelRun p;
    Script s;
    s.then(Plain)
        .then([] { OpenScreen(BUD_UhrzeitDialog, SCR_CLOCK_MESSAGE); })
        .key(SIG_KEY_UP)
        .key(SIG_KEY_OK)
        .expect(BUD_Feedback, "time feedback")
        .key(key)
        .expect(BUD_DatumDialog, "the date follows")
        .then([] { OpenScreen(BUD_UhrzeitDialog, SCR_ASSISTANT); })
        .key(SIG_KEY_UP)
        .key(SIG_KEY_OK)
        .key(key)
        .expect(BUD_DatumDialog, "the date follows in the assistant's flow too")
        .then([] { OpenScreen(BES_EinstellungSprache, SCR_FROM_PARENT); })
        .key(SIG_KEY_OK)
        .expect(BES_EinstellungSpracheFeedback, "language feedback")
        .key(key)
        .expect(BEM_EinstellungenMenue, "back to the settings");
    ASSERT_TRUE(s.run(p));
    EXPECT_FALSE(p.traced("BHA_Hilfeanzeige Entry"));
    EXPECT_FALSE(p.traced("BGM_Grundmenue Entry"));
}

INSTANTIATE_TEST_SUITE_P(Keys, FeedbackKey,
                         ::testing::Values(SIG_KEY_UP, SIG_KEY_DOWN, SIG_KEY_LEFT, SIG_KEY_RIGHT, SIG_KEY_OK,
                                           SIG_KEY_BACK, SIG_KEY_MENU, SIG_KEY_HELP),
                         [](const auto& param) { return std::string(SIG_Name(param.param)); });

TEST(DateTimeText, AllFormats)
{
    const DTM_Clock c{2026, 3, 7, 6, 9, 5, 0};
    const char* expected[] = {"Sa 07.03.2026", "Sa 07.03.26", "Sa 07.03.", "07.03.2026",
                              "07.03.26",      "09:05",       "09:05 Uhr"};
    for (std::uint8_t f = 0; f < 7; ++f) {
        char out[32];
        FMT_DateTime(c, f, out, sizeof out);
        EXPECT_STREQ(out, expected[f]) << int(f);
    }
    char small[4];
    EXPECT_EQ(FMT_DateTime(c, 5, small, sizeof small), 3);
    EXPECT_STREQ(small, "09:");
}

} // namespace
