// Operating program: a three-line choice, or why it cannot be chosen now
// (external switching), or whether to end an external program.
#include "screens/user/BBA.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

constexpr std::uint8_t kEntryCount = 3;
constexpr std::uint8_t kHotWaterOnly = 1;
constexpr std::uint16_t kTitle = 40;
constexpr std::uint32_t kHelpPage = 34; // the program in general; the list has one per entry
constexpr std::uint16_t kTitleSwitching = 91;
constexpr std::uint16_t kTextPermanently = 127;
constexpr std::uint16_t kTextNotChangeable = 186;
constexpr std::uint16_t kTitleExternal = 93;
constexpr std::uint16_t kTextChange = 19;
constexpr std::uint16_t kYes = 141;
constexpr std::uint16_t kNo = 184;
constexpr GUI_BOX kFirstRow{1, 29, 238, 52};
constexpr GUI_BOX kMessageArea{0, 28, 239, 131};
constexpr GUI_BOX kAnswerBox{74, 67, 164, 117};

struct Entry {
    std::uint16_t text;
    std::uint8_t help;
};
constexpr Entry kEntries[kEntryCount] = {{114, 37}, {193, 38}, {10, 39}};

struct Module {
    SCR_Menu menu{0, 0, HINT_CHOOSE}; // its hint is the module's last hint
    SM_Handler returnState = nullptr;
    std::uint8_t programAtOpen = 0;
    std::uint8_t answer = 0;
};

Module bba;

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
    ML_DrawChoiceMark(row, BBA_CurrentEntry() == I);
}

constexpr ML_DrawFn kDraw[kEntryCount] = {Draw<0>, Draw<1>, Draw<2>};

void SetHint(std::uint8_t index)
{
    bba.menu.hint = index;
    HINT_SetText(index);
}

void ArmHint()
{
    SM_Post(DTM_Task, SIG_TMR_HINT_SET, 40);
}

void Leave(SM_Hsm* me)
{
    SM_TranParam(me, BMM_Menuemonitor, bba.returnState != nullptr ? bba.returnState : BGA_Grundanzeige, SCR_FROM_CHILD);
}

void DrawQuestion(bool inverted)
{
    GUI_EraseScreen();
    TITLE_Draw(kTitleExternal);
    GUI_TextInBox(TXT_GetText(kTextChange), &kFirstRow, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    const GUI_FONTDEF* old = TXT_UseFontLarge();
    GUI_TextInBox(TXT_GetText(bba.answer != 0 ? kYes : kNo), &kAnswerBox, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    GUI_SelectFont(old);
    if (inverted) {
        GUI_InvertArea(kAnswerBox.x0, kAnswerBox.y0, kAnswerBox.x1, kAnswerBox.y1);
    }
}

void DrawTitle()
{
    TITLE_Draw(kTitle);
}

std::uint16_t ChosenText()
{
    return kEntries[BBA_CurrentEntry()].text;
}

bool Changed()
{
    return bba.programAtOpen != BBA_CurrentEntry();
}

const SCR_Choice kChoice{
    "BBE_BetriebsartFeedback", DrawTitle, ChosenText, Changed, BetriebsartMenue, BetriebsartEinstellen,
    BetriebsartEinstellen};

} // namespace

void BBA_SetProgram(std::uint8_t entry)
{
    DAT_SetCircuitByte(DAT_CIRCUIT_EXTERNAL,
                       static_cast<std::uint8_t>(DAT_CircuitByte(DAT_CIRCUIT_EXTERNAL) & ~DAT_EXT_PROGRAM));
    switch (entry) {
    case 0:
        DIS_UO_HeatingAndHotWater();
        break;
    case kHotWaterOnly:
        DIS_UO_HotWaterOnly();
        break;
    default:
        DIS_UO_ShutDown();
        break;
    }
}

std::uint8_t BBA_CurrentEntry()
{
    switch (DAT_OperatingProgram()) {
    case 3:
    case 4:
        return 0;
    case 0:
        return 1;
    default:
        return 2;
    }
}

SM_State BetriebsartEinstellen(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BetriebsartEinstellen", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kDraw[i]);
        }
        ML_SetCount(kEntryCount);
        ML_SetEntryVisibleRaw(kHotWaterOnly, DAT_HasHotWaterOption() ? 1 : 0);
        ML_Init(0, 239, 29, 24, 2, 3);
        return nullptr;
    case SIG_INIT:
        if (e->par != SCR_REFRESH) {
            bba.returnState = BMM_ReturnScreen();
            bba.menu.left = false; // a position from an earlier visit does not come back
        }
        if ((DAT_CircuitByte(DAT_CIRCUIT_EXTERNAL) & DAT_EXT_SWITCHING) != 0) {
            SM_InitParam(me, ExterneAufschaltung, e->par);
        } else if ((DAT_CircuitByte(DAT_CIRCUIT_EXTERNAL) & DAT_EXT_PROGRAM) != 0) {
            SM_InitParam(me, ExternesProgramm, e->par);
        } else {
            SM_InitParam(me, BetriebsartMenue, e->par);
        }
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        Leave(me);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State ExterneAufschaltung(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("ExterneAufschaltung", e)) {
        if (e->sig == SIG_INIT) {
            GUI_EraseScreen();
            TITLE_Draw(kTitleSwitching);
            GUI_TextInBox(TXT_GetText(kTextPermanently), &kFirstRow, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
            const GUI_FONTDEF* old = TXT_UseFontLarge();
            GUI_TextInBoxWrapped(TXT_GetText(kTextNotChangeable), &kMessageArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER,
                                 GUI_WRAP_WORD);
            GUI_SelectFont(old);
            SetHint(HINT_CONTINUE_OK);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (e->sig == SIG_TICK_5S) {
        // The list comes as soon as the control unit ends the switching.
        SM_TranParam(me, BetriebsartEinstellen, BetriebsartEinstellen, SCR_REFRESH);
        return nullptr;
    }
    return BetriebsartEinstellen;
}

SM_State ExternesProgramm(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("ExternesProgramm", e)) {
        if (e->sig == SIG_INIT) {
            const bool confirmed = e->par != SCR_FROM_PARENT && bba.menu.hint == HINT_TAKEN_OVER;
            if (e->par == SCR_FROM_PARENT) {
                bba.answer = 0;
            }
            DrawQuestion(!confirmed);
            SetHint(confirmed ? HINT_TAKEN_OVER : HINT_CHANGE);
            if (confirmed) {
                ArmHint();
            }
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        bba.answer = bba.answer != 0 ? 0 : 1;
        DrawQuestion(true);
        SetHint(HINT_CONTINUE_OK);
        ArmHint();
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_OK:
        if (bba.menu.hint == HINT_TAKEN_OVER) {
            SM_TranParam(me, BetriebsartEinstellen, BetriebsartMenue, SCR_FROM_PARENT);
            return nullptr;
        }
        if (bba.answer == 0) {
            return BetriebsartEinstellen; // the parent leaves
        }
        BBA_SetProgram(0);
        DrawQuestion(false);
        SetHint(HINT_TAKEN_OVER);
        ArmHint();
        LCD_Refresh();
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        if (bba.menu.hint == HINT_TAKEN_OVER) {
            SM_TranParam(me, BetriebsartEinstellen, BetriebsartMenue, SCR_FROM_PARENT);
        } else {
            SetHint(HINT_CHOOSE);
            HINT_Refresh();
        }
        return nullptr;
    default:
        return BetriebsartEinstellen;
    }
}

SM_State BetriebsartMenue(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BetriebsartMenue", e)) {
        if (e->sig == SIG_INIT) {
            const bool restore = SCR_MenuInit(bba.menu, e->par);
            if (e->par == SCR_FROM_PARENT) {
                bba.programAtOpen = BBA_CurrentEntry();
                ML_RestorePosition(0, bba.programAtOpen);
            } else if (restore) {
                ML_RestorePosition(bba.menu.firstRow, bba.menu.cursor);
            }
            GUI_EraseScreen();
            DrawTitle();
            ML_ShowEntry(kHotWaterOnly, DAT_HasHotWaterOption() ? 1 : 0);
            ML_Draw();
            HINT_SetText(bba.menu.hint);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_MenuExit(bba.menu);
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_OK:
        BBA_SetProgram(ML_GetCursor());
        SM_TranParam(me, BetriebsartEinstellen, BBE_BetriebsartFeedback, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        Leave(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bba.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_TICK_5S:
        // The marks follow the data; cursor and hint stay.
        SM_TranParam(me, BetriebsartMenue, BetriebsartMenue, SCR_REFRESH);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kEntries[ML_GetCursor()].help);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bba.menu, e) ? nullptr : SM_State(BetriebsartEinstellen);
    }
}

SM_State BBE_BetriebsartFeedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_ChoiceFeedbackState(me, e, kChoice);
}

void BBA_PowerOn()
{
    bba = Module{};
}
