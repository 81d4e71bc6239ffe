// Screen patterns shared by the settings screens.
#include "screens/common/SCR.h"

#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "hal/HAL.h"
#include "screens/common/ML.h"
#include "screens/common/TOP.h"
#include "screens/common/VD.h"

namespace {

constexpr std::uint8_t kHintTicks = 40;
constexpr std::uint16_t kYes = 141;
constexpr std::uint16_t kNo = 184;
constexpr GUI_BOX kQuestionRow{1, 29, 238, 52};
constexpr GUI_BOX kAnswerBox{74, 67, 164, 117};
constexpr GUI_BOX kChoiceArea{0, 28, 239, 131};

void ArmHintTimer()
{
    SM_Post(DTM_Task, SIG_TMR_HINT_SET, kHintTicks);
}

bool IsArrow(std::uint16_t sig)
{
    return sig == SIG_KEY_UP || sig == SIG_KEY_DOWN || sig == SIG_KEY_LEFT || sig == SIG_KEY_RIGHT;
}

void DrawTitle(void (*drawTitle)())
{
    if (drawTitle != nullptr) {
        drawTitle();
    }
}

void RefreshValue()
{
    LCD_Refresh(); // the value box and the hint line
}

void DrawQuestion(const SCR_Question& q, bool inverted)
{
    GUI_EraseScreen();
    DrawTitle(q.drawTitle);
    if (q.question != ML_NO_TEXT) {
        GUI_TextInBox(TXT_GetText(q.question), &kQuestionRow, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    }
    const GUI_BOX& box = q.answerBox != nullptr ? *q.answerBox : kAnswerBox;
    const GUI_FONTDEF* old = TXT_UseFontLarge();
    const std::uint16_t yes = q.yesText != 0 ? q.yesText : kYes;
    const std::uint16_t no = q.noText != 0 ? q.noText : kNo;
    GUI_TextInBox(TXT_GetText(*q.answer != 0 ? yes : no), &box, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    GUI_SelectFont(old);
    if (inverted) {
        GUI_InvertArea(box.x0, box.y0, box.x1, box.y1);
    }
}

} // namespace

bool SCR_Trace(const char* name, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_Trace("\n %s Entry", name);
        return true;
    case SIG_INIT:
        HAL_Trace("\n %s Init", name);
        return true;
    case SIG_EXIT:
        HAL_Trace("\n %s Exit", name);
        return true;
    default:
        return false;
    }
}

bool SCR_IsKey(std::uint16_t sig)
{
    switch (sig) {
    case SIG_KEY_BACK:
    case SIG_KEY_UP:
    case SIG_KEY_LEFT:
    case SIG_KEY_DOWN:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
    case SIG_KEY_MENU:
    case SIG_KEY_HELP:
        return true;
    default:
        return false;
    }
}

void SCR_Hint(std::uint8_t index, bool arm)
{
    HINT_SetText(index);
    if (arm) {
        ArmHintTimer();
    }
}

void SCR_MenuHint(SCR_Menu& menu, std::uint8_t index)
{
    menu.hint = index;
    SCR_Hint(index, index == HINT_CONTINUE_OK);
}

bool SCR_MenuInit(SCR_Menu& menu, std::uint32_t par)
{
    const bool left = menu.left;
    menu.left = false;
    if (par != SCR_REFRESH) {
        menu.hint = HINT_CHOOSE;
    } else if (left && menu.hint == HINT_CONTINUE_OK) {
        ArmHintTimer();
    }
    return par == SCR_FROM_CHILD || (par == SCR_REFRESH && left);
}

bool SCR_MenuCursorKeys(SCR_Menu& menu, const SM_Event* e)
{
    if (e->sig != SIG_KEY_UP && e->sig != SIG_KEY_DOWN) {
        return false;
    }
    if (e->sig == SIG_KEY_UP) {
        ML_CursorUp();
    } else {
        ML_CursorDown();
    }
    SCR_MenuHint(menu, HINT_CONTINUE_OK);
    LCD_Refresh();
    return true;
}

void SCR_MenuExit(SCR_Menu& menu)
{
    menu.cursor = ML_GetCursor();
    menu.firstRow = ML_GetFirstRow();
    menu.left = true;
    SCR_ExitCommon();
}

SM_State SCR_EditState(SM_Hsm* me, const SM_Event* e, const SCR_Edit& s)
{
    if (SCR_Trace(s.name, e)) {
        if (e->sig == SIG_ENTRY) {
            SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, 12); // faster repeat while editing
        } else if (e->sig == SIG_INIT) {
            GUI_EraseScreen();
            DrawTitle(s.drawTitle);
            VD_Draw(GUI_MODE_REV);
            SCR_Hint(HINT_CHANGE, false);
            LCD_Refresh();
        } else {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
        if (e->sig == SIG_KEY_UP || e->sig == SIG_KEY_RIGHT) {
            VD_Increment();
        } else {
            VD_Decrement();
        }
        SCR_Hint(HINT_TAKE_OVER_OK, true);
        RefreshValue();
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_Hint(HINT_CHANGE, false);
        HINT_Refresh();
        return nullptr;
    case SIG_KEY_OK:
        // Stored even when it did not change: the user asked for it.
        s.store(TMP_FromDisplay(VD_GetValue()));
        SM_Tran(me, s.parent, s.feedback);
        return nullptr;
    default:
        return s.parent;
    }
}

SM_State SCR_EditParentState(SM_Hsm* me, const SM_Event* e, const SCR_EditParent& s)
{
    if (SCR_Trace(s.name, e)) {
        if (e->sig == SIG_INIT) {
            s.init();
            SM_InitParam(me, s.child(), SCR_FROM_PARENT);
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (e->sig == SIG_KEY_BACK) {
        SM_TranParam(me, TOP_MenuMonitor(), s.returnTo(), SCR_FROM_CHILD);
        return nullptr;
    }
    return TOP_MenuMonitor();
}

SM_State SCR_FeedbackState(SM_Hsm* me, const SM_Event* e, const SCR_Feedback& s)
{
    if (SCR_Trace(s.name, e)) {
        if (e->sig == SIG_ENTRY) {
            GUI_EraseScreen();
            DrawTitle(s.drawTitle);
            VD_Draw(GUI_MODE_NORMAL);
            SCR_Hint(HINT_TAKEN_OVER, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (IsArrow(e->sig)) {
        SM_Tran(me, s.parent, s.edit);
        return nullptr;
    }
    if (e->sig == SIG_KEY_OK || e->sig == SIG_TMR_HINT_TIMEOUT) {
        SM_TranParam(me, TOP_MenuMonitor(), s.returnTo(), SCR_FROM_CHILD);
        return nullptr;
    }
    return s.parent;
}

SM_State SCR_ViewOnlyState(SM_Hsm* me, const SM_Event* e, const SCR_ViewOnly& s)
{
    if (SCR_Trace(s.name, e)) {
        if (e->sig == SIG_INIT) {
            GUI_EraseScreen();
            DrawTitle(s.drawTitle);
            VD_Draw(GUI_MODE_NORMAL);
            SCR_Hint(HINT_SEE_REMOTE, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (e->sig == SIG_KEY_OK || e->sig == SIG_TMR_HINT_TIMEOUT) {
        SM_DispatchSignal(me, SIG_KEY_BACK, 0); // the parent leaves as on BACK
        return nullptr;
    }
    return s.parent;
}

SM_State SCR_ChoiceFeedbackState(SM_Hsm* me, const SM_Event* e, const SCR_Choice& s)
{
    if (SCR_Trace(s.name, e)) {
        if (e->sig == SIG_INIT) {
            GUI_EraseScreen();
            DrawTitle(s.drawTitle);
            const GUI_FONTDEF* old = TXT_UseFontLarge();
            GUI_TextInBoxWrapped(TXT_GetText(s.chosenText()), &kChoiceArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER,
                                 GUI_WRAP_WORD);
            GUI_SelectFont(old);
            SCR_Hint(s.changed() ? HINT_TAKEN_OVER : HINT_IS_SET, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (e->sig == SIG_KEY_BACK || e->sig == SIG_KEY_OK || e->sig == SIG_TMR_HINT_TIMEOUT) {
        SM_TranParam(me, s.anchor, s.menu, SCR_FROM_PARENT);
        return nullptr;
    }
    return s.parent;
}

SM_State SCR_QuestionState(SM_Hsm* me, const SM_Event* e, const SCR_Question& s)
{
    if (SCR_Trace(s.name, e)) {
        if (e->sig == SIG_INIT) {
            if (e->par == SCR_FROM_PARENT) {
                *s.answer = 0;
            }
            DrawQuestion(s, true);
            SCR_Hint(HINT_CHOOSE, false);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (IsArrow(e->sig)) {
        *s.answer = *s.answer != 0 ? 0 : 1;
        DrawQuestion(s, true);
        SCR_Hint(s.toggleHint, true);
        LCD_Refresh();
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_OK:
        if (*s.answer != 0) {
            s.action();
            SM_Tran(me, s.parent, s.feedback);
        } else {
            SM_TranParam(me, s.anchor, s.menu, s.menuParameter);
        }
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, s.anchor, s.menu, s.menuParameter);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_Hint(HINT_CHOOSE, false);
        HINT_Refresh();
        return nullptr;
    default:
        return s.parent;
    }
}

SM_State SCR_QuestionFeedbackState(SM_Hsm* me, const SM_Event* e, const SCR_QuestionFeedback& s)
{
    if (SCR_Trace(s.name, e)) {
        if (e->sig == SIG_INIT) {
            const SCR_Question shown{s.name,  s.drawTitle, s.question, const_cast<std::uint8_t*>(s.answer),
                                     0,       nullptr,     nullptr,    nullptr,
                                     nullptr, nullptr,     s.answerBox};
            DrawQuestion(shown, false); // inverted twice: plain
            SCR_Hint(HINT_TAKEN_OVER, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (e->sig == SIG_KEY_BACK || e->sig == SIG_KEY_OK || e->sig == SIG_TMR_HINT_TIMEOUT) {
        SM_TranParam(me, s.anchor, s.returnTo(), s.returnParameter);
        return nullptr;
    }
    return s.parent;
}
