// The screen patterns, through a small settings screen of the test's own
// below the menu monitor, as the real ones will be: a menu, a temperature
// with its edit, feedback and view-only variant, a choice feedback and a
// yes/no question with its feedback.
#include <gtest/gtest.h>
#include <vector>

#include "core/SM.h"
#include "data/DAT.h"
#include "gui/GUI_Font.h"
#include "screens/base/BMA.h"
#include "screens/base/BMM.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "support/PanelRun.h"
#include "support/Script.h"

namespace {

// What the screen did.
struct Probe {
    std::vector<std::int16_t> stored;
    std::vector<std::uint32_t> menuInits;
    int actions = 0;
    bool remote = false;
    std::uint8_t answer = 0;
    bool choiceChanged = false;
};
Probe probe;

SM_State TST_Menu(SM_Hsm* me, const SM_Event* e);
SM_State TST_Dialog(SM_Hsm* me, const SM_Event* e);
SM_State TST_Edit(SM_Hsm* me, const SM_Event* e);
SM_State TST_Feedback(SM_Hsm* me, const SM_Event* e);
SM_State TST_ViewOnly(SM_Hsm* me, const SM_Event* e);
SM_State TST_Choice(SM_Hsm* me, const SM_Event* e);
SM_State TST_Question(SM_Hsm* me, const SM_Event* e);
SM_State TST_QuestionFeedback(SM_Hsm* me, const SM_Event* e);

void DrawTitle()
{
    TITLE_SetText("Test");
    TITLE_DrawLine();
}

void Row(const GUI_BOX* row)
{
    ML_DrawName(row, 5);
}

SM_Handler ReturnToMenu()
{
    return TST_Menu;
}

const SCR_Edit kEdit{"TST_Edit", DrawTitle, [](std::int16_t c) { probe.stored.push_back(c); }, TST_Feedback,
                     TST_Dialog};
const SCR_Feedback kFeedback{"TST_Feedback", DrawTitle, TST_Edit, TST_Dialog, ReturnToMenu};
const SCR_ViewOnly kViewOnly{"TST_ViewOnly", DrawTitle, TST_Dialog};
const SCR_Choice kChoice{
    "TST_Choice",     DrawTitle,       [] { return std::uint16_t{109}; }, [] { return probe.choiceChanged; }, TST_Menu,
    BMM_Menuemonitor, BMM_Menuemonitor};
const SCR_Question kQuestion{"TST_Question",       DrawTitle,        111,
                             &probe.answer,        HINT_CONTINUE_OK, [] { ++probe.actions; },
                             TST_QuestionFeedback, TST_Menu,         BMM_Menuemonitor,
                             BMM_Menuemonitor};
const SCR_QuestionFeedback kQuestionFeedback{"TST_QuestionFeedback", DrawTitle,       111,
                                             &probe.answer,          ReturnToMenu,    SCR_REFRESH,
                                             BMM_Menuemonitor,       BMM_Menuemonitor};

SCR_Menu menu{0, 0, HINT_CHOOSE};

SM_State TST_Menu(SM_Hsm*, const SM_Event* e)
{
    SCR_Trace("TST_Menu", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < 6; ++i) {
            ML_SetEntry(i, Row);
        }
        ML_SetCount(6);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        probe.menuInits.push_back(e->par);
        if (SCR_MenuInit(menu, e->par)) {
            ML_RestorePosition(menu.firstRow, menu.cursor);
        }
        GUI_EraseScreen();
        DrawTitle();
        ML_Draw();
        HINT_SetText(menu.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(menu);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    default:
        return SCR_MenuCursorKeys(menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State TST_Dialog(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("TST_Dialog", e);
    switch (e->sig) {
    case SIG_ENTRY:
    case SIG_EXIT:
        return nullptr;
    case SIG_INIT: {
        static constexpr ValueLimits kLimits{20, -1, 10, 22};
        VD_Setup(&kLimits, FMT_Temperature, &VD_VALUE_BOX, TXT_FontLarge());
        SM_Init(me, probe.remote ? TST_ViewOnly : TST_Edit);
        return nullptr;
    }
    case SIG_KEY_BACK:
        SM_TranParam(me, BMM_Menuemonitor, TST_Menu, SCR_FROM_CHILD);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State TST_Edit(SM_Hsm* me, const SM_Event* e)
{
    return SCR_EditState(me, e, kEdit);
}

SM_State TST_Feedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_FeedbackState(me, e, kFeedback);
}

SM_State TST_ViewOnly(SM_Hsm* me, const SM_Event* e)
{
    return SCR_ViewOnlyState(me, e, kViewOnly);
}

SM_State TST_Choice(SM_Hsm* me, const SM_Event* e)
{
    return SCR_ChoiceFeedbackState(me, e, kChoice);
}

SM_State TST_Question(SM_Hsm* me, const SM_Event* e)
{
    return SCR_QuestionState(me, e, kQuestion);
}

SM_State TST_QuestionFeedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_QuestionFeedbackState(me, e, kQuestionFeedback);
}

// Starts at the test's menu, with a fresh probe.
class Patterns : public ::testing::Test {
  protected:
    Patterns()
    {
        probe = Probe{};
        menu = SCR_Menu{0, 0, HINT_CHOOSE};
        s.early([] { DAT_image.service[1] = 0x03; }).then([] { OpenScreen(TST_Menu, SCR_FROM_PARENT); });
    }
    void Run() { ASSERT_TRUE(s.run(p)); }

    Script& In(SM_Handler state, std::uint8_t hint, const char* what)
    {
        return s.then([=] {
            EXPECT_EQ(SM_TaskState(BED_Task), state) << what;
            EXPECT_EQ(ShownHint(), hint) << what;
        });
    }
    // The menu has come back, entered with `par`.
    Script& BackInMenu(std::uint32_t par, const char* what)
    {
        return s.then([=] {
            EXPECT_EQ(SM_TaskState(BED_Task), TST_Menu) << what;
            ASSERT_FALSE(probe.menuInits.empty()) << what;
            EXPECT_EQ(probe.menuInits.back(), par) << what;
        });
    }

    PanelRun p;
    Script s;
};

TEST_F(Patterns, EditStoresOnOkAndItsFeedbackReturnsAfterFourSeconds)
{
    s.then([] { OpenScreen(TST_Dialog, SCR_FROM_PARENT); });
    In(TST_Edit, HINT_CHANGE, "the edit, value in the inverted box");
    s.key(SIG_KEY_UP).key(SIG_KEY_RIGHT).key(SIG_KEY_UP);
    In(TST_Edit, HINT_TAKE_OVER_OK, "changed").then([] { EXPECT_EQ(VD_GetValue(), 22) << "held at max"; });
    s.wait(4000);
    In(TST_Edit, HINT_CHANGE, "the hint goes back after 4 s");
    s.key(SIG_KEY_OK).then([] { EXPECT_EQ(probe.stored, std::vector<std::int16_t>{22}); });
    In(TST_Feedback, HINT_TAKEN_OVER, "the feedback").wait(3000);
    In(TST_Feedback, HINT_TAKEN_OVER, "still the feedback");
    s.wait(500);
    BackInMenu(SCR_FROM_CHILD, "4 s after OK");
    Run();
}

TEST_F(Patterns, EditStoresAnUnchangedValueAndBackStoresNothing)
{
    s.then([] { OpenScreen(TST_Dialog, SCR_FROM_PARENT); }).key(SIG_KEY_OK);
    In(TST_Feedback, HINT_TAKEN_OVER, "OK without a change").key(SIG_KEY_OK);
    BackInMenu(SCR_FROM_CHILD, "OK in the feedback").then([] {
        EXPECT_EQ(probe.stored, std::vector<std::int16_t>{20});
    });
    s.then([] { OpenScreen(TST_Dialog, SCR_FROM_PARENT); }).key(SIG_KEY_DOWN).key(SIG_KEY_LEFT).key(SIG_KEY_BACK);
    BackInMenu(SCR_FROM_CHILD, "BACK in the edit").then([] { EXPECT_EQ(probe.stored.size(), 1U); });
    Run();
}

TEST_F(Patterns, ArrowInTheFeedbackEditsOnFromTheStoredValue)
{
    s.then([] { OpenScreen(TST_Dialog, SCR_FROM_PARENT); }).key(SIG_KEY_DOWN).key(SIG_KEY_OK).key(SIG_KEY_LEFT);
    In(TST_Edit, HINT_CHANGE, "back in the edit").then([] { EXPECT_EQ(VD_GetValue(), 19); });
    // The feedback's timer went with it: the edit stays.
    s.wait(4500);
    In(TST_Edit, HINT_CHANGE, "no leftover timeout").key(SIG_KEY_DOWN).key(SIG_KEY_OK).then([] {
        EXPECT_EQ(probe.stored, (std::vector<std::int16_t>{19, 18}));
    });
    Run();
}

TEST_F(Patterns, ViewOnlyShowsTheValueAndLeavesOnOkOrAfterFourSeconds)
{
    s.then([] {
        probe.remote = true;
        OpenScreen(TST_Dialog, SCR_FROM_PARENT);
    });
    In(TST_ViewOnly, HINT_SEE_REMOTE, "a remote control sets it").key(SIG_KEY_UP);
    In(TST_ViewOnly, HINT_SEE_REMOTE, "the keys change nothing").then([] { EXPECT_EQ(VD_GetValue(), 20); });
    s.key(SIG_KEY_OK);
    BackInMenu(SCR_FROM_CHILD, "OK leaves as BACK does");
    s.then([] { OpenScreen(TST_Dialog, SCR_FROM_PARENT); }).wait(4000);
    BackInMenu(SCR_FROM_CHILD, "after 4 s").then([] { EXPECT_TRUE(probe.stored.empty()); });
    Run();
}

TEST_F(Patterns, ChoiceFeedbackTellsWhetherTheChoiceChangedAndReturnsAfresh)
{
    s.then([] {
        probe.choiceChanged = true;
        OpenScreen(TST_Choice, SCR_PLAIN);
    });
    In(TST_Choice, HINT_TAKEN_OVER, "another choice").key(SIG_KEY_OK);
    BackInMenu(SCR_FROM_PARENT, "OK");
    s.then([] {
        probe.choiceChanged = false;
        OpenScreen(TST_Choice, SCR_PLAIN);
    });
    In(TST_Choice, HINT_IS_SET, "the same choice").key(SIG_KEY_BACK);
    BackInMenu(SCR_FROM_PARENT, "BACK");
    s.then([] { OpenScreen(TST_Choice, SCR_PLAIN); }).wait(3800);
    BackInMenu(SCR_FROM_PARENT, "after 4 s");
    Run();
}

TEST_F(Patterns, QuestionStartsAtNoAndOnlyYesActs)
{
    s.then([] {
        probe.answer = 1;
        OpenScreen(TST_Question, SCR_FROM_PARENT);
        EXPECT_EQ(probe.answer, 0) << "entered from the menu: Nein";
    });
    In(TST_Question, HINT_CHOOSE, "the question").key(SIG_KEY_UP);
    In(TST_Question, HINT_CONTINUE_OK, "toggled").then([] { EXPECT_EQ(probe.answer, 1); });
    s.wait(4000);
    In(TST_Question, HINT_CHOOSE, "the hint times out").key(SIG_KEY_LEFT).key(SIG_KEY_OK);
    BackInMenu(SCR_FROM_CHILD, "OK with Nein").then([] { EXPECT_EQ(probe.actions, 0); });
    // Entered otherwise (back from help), the answer stays.
    s.then([] {
        probe.answer = 1;
        OpenScreen(TST_Question, SCR_FROM_CHILD);
        EXPECT_EQ(probe.answer, 1);
    });
    s.key(SIG_KEY_BACK);
    BackInMenu(SCR_FROM_CHILD, "BACK").then([] { EXPECT_EQ(probe.actions, 0); });
    s.then([] { OpenScreen(TST_Question, SCR_FROM_PARENT); }).key(SIG_KEY_RIGHT).key(SIG_KEY_OK);
    In(TST_QuestionFeedback, HINT_TAKEN_OVER, "OK with Ja").then([] { EXPECT_EQ(probe.actions, 1); });
    s.key(SIG_KEY_OK);
    BackInMenu(SCR_REFRESH, "the feedback returns with its parameter");
    s.then([] { OpenScreen(TST_QuestionFeedback, SCR_PLAIN); }).wait(3800);
    BackInMenu(SCR_REFRESH, "after 4 s").then([] { EXPECT_EQ(probe.actions, 1); });
    Run();
}

TEST_F(Patterns, MenuComesBackWhereItWasAfterTheLockedMessage)
{
    // Cursor on the third entry, "Weiter mit OK"; the locked message interrupts.
    s.key(SIG_KEY_DOWN).key(SIG_KEY_DOWN).then([] { OpenScreen(BMA_BedienungGesperrt, SCR_PLAIN); });
    s.key(SIG_KEY_OK);
    BackInMenu(SCR_REFRESH, "the message returns in place").then([] {
        EXPECT_EQ(ML_GetCursor(), 2);
        EXPECT_EQ(ShownHint(), HINT_CONTINUE_OK);
    });
    s.wait(4000);
    In(TST_Menu, HINT_CHOOSE, "and its hint times out as always");
    Run();
}

TEST_F(Patterns, MenuKeepsItsLivePositionOnItsOwnRefresh)
{
    // Left on the third entry; back from the child there; then UP and a refresh.
    s.key(SIG_KEY_DOWN).key(SIG_KEY_DOWN).then([] { OpenScreen(TST_Dialog, SCR_FROM_PARENT); });
    s.key(SIG_KEY_BACK).then([] { EXPECT_EQ(ML_GetCursor(), 2); }).key(SIG_KEY_UP);
    s.then([] { SM_TranParam(SM_TaskHsm(BED_Task), TST_Menu, TST_Menu, SCR_REFRESH); });
    BackInMenu(SCR_REFRESH, "refreshed").then([] {
        EXPECT_EQ(ML_GetCursor(), 1);
        EXPECT_EQ(ShownHint(), HINT_CONTINUE_OK);
    });
    Run();
}

} // namespace
