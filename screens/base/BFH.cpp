// Fault history: a choice between showing and deleting it; the list waits,
// shows and refreshes as the fault dialog's does, numbered, and OK on an
// entry explains it.
#include "screens/base/BFH.h"

#include <cstdio>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/BSD.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BSVM.h"

namespace {

constexpr std::uint16_t kTitle = 94;
constexpr std::uint16_t kShow = 22;
constexpr std::uint16_t kDelete = 161;
constexpr std::uint16_t kDeleted = 157;
constexpr SM_Event kHelpKey{SIG_HELP, 0};
constexpr std::uint32_t kFirstHistoryPage = 130; // help pages 130..139: entries 0..9
constexpr std::uint32_t kDeleteHelp = 140;
constexpr GUI_BOX kMessageArea{0, 28, 239, 131};

struct History {
    SCR_Menu choice{0, 0, HINT_CHOOSE};
    std::uint8_t answer = 0;
    BSD_ListMemory list{};
};

History bfh;

struct Choice {
    std::uint16_t text;
    SM_Handler target;
};
const Choice kChoices[2] = {{kShow, BFH_FehlerhistorieDialog}, {kDelete, BFH_LoeschenAbfrage}};

template <std::uint8_t I> void ChoiceRow(const GUI_BOX* row)
{
    ML_DrawName(row, kChoices[I].text);
}

// "01 Brenner" left, the fault code right.
void DrawEntry(const GUI_BOX* row, std::uint8_t index)
{
    DAT_SelectFault(true, index);
    const std::uint8_t* f = DAT_Fault(true);
    char name[48];
    std::snprintf(name, sizeof name, "%02u %s", index + 1U, TXT_GetText(BSD_FaultTextId(f[1])));
    GUI_TextInBox(name, row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    char code[4];
    std::snprintf(code, sizeof code, "%02X", f[0]);
    ML_DrawValue(row, code);
}

template <std::uint8_t I> void EntryRow(const GUI_BOX* row)
{
    DrawEntry(row, I);
}

constexpr ML_DrawFn kEntryRows[DAT_FAULT_ENTRIES] = {EntryRow<0>, EntryRow<1>, EntryRow<2>, EntryRow<3>, EntryRow<4>,
                                                     EntryRow<5>, EntryRow<6>, EntryRow<7>, EntryRow<8>, EntryRow<9>};

// One entry alone asks for no choice: "Weiter mit OK" then, for 4 s at a
// time; so does the cursor once it has moved.
void ListHint(bool moved)
{
    if (ML_VisibleCount() > 1 && !moved) {
        SCR_Hint(HINT_CHOOSE, false);
    } else {
        SCR_Hint(HINT_CONTINUE_OK, true);
    }
}

const BSD_List kHistory{true,
                        kTitle,
                        SIG_DATA_TYPE_23,
                        BFH_FehlerhistorieDialog,
                        BFH_FehlerdatenMenue,
                        BFH_KeineFehlerdaten,
                        kEntryRows,
                        ListHint,
                        kFirstHistoryPage,
                        &bfh.list};

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

void Delete()
{
    DIS_UO_ClearFaultHistory();
}

void BackToChoice(SM_Hsm* me)
{
    SM_TranParam(me, BMM_Menuemonitor, BFH_Wahlmenue, SCR_FROM_CHILD);
}

const SCR_Question kDeleteQuestion{
    "BFH_LoeschenAbfrage", DrawTitle,     kDelete,          &bfh.answer,     HINT_CONTINUE_OK, Delete,
    BFH_LoeschenFeedback,  BFH_Wahlmenue, BMM_Menuemonitor, BMM_Menuemonitor};

} // namespace

SM_State BFH_Wahlmenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BFH_Wahlmenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        ML_SetEntry(0, ChoiceRow<0>);
        ML_SetEntry(1, ChoiceRow<1>);
        ML_SetEntryVisibleRaw(0, 1);
        ML_SetEntryVisibleRaw(1, 1);
        ML_SetCount(2);
        ML_Init(0, 239, 29, 24, 2, 2);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bfh.choice, e->par)) {
            ML_RestorePosition(bfh.choice.firstRow, bfh.choice.cursor);
        }
        GUI_EraseScreen();
        DrawTitle();
        ML_Draw();
        HINT_SetText(bfh.choice.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bfh.choice);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BMM_Menuemonitor, BSVM_Servicemenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_KEY_OK:
        SM_TranParam(me, BMM_Menuemonitor, kChoices[ML_GetCursor() == 1 ? 1 : 0].target, SCR_FROM_PARENT);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bfh.choice, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bfh.choice, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BFH_FehlerhistorieDialog(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BFH_FehlerhistorieDialog", e);
    if (BSD_DialogSignal(e, kHistory)) {
        return nullptr;
    }
    switch (e->sig) {
    case SIG_INIT:
        SM_InitParam(me, BFH_AufFehlerdatenWarten, SCR_PLAIN);
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        BackToChoice(me);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State BFH_AufFehlerdatenWarten(SM_Hsm* me, const SM_Event* e)
{
    return BSD_WaitState(me, e, kHistory, "BFH_AufFehlerdatenWarten", "BFH_ExitFehlerdatenAnfordern");
}

SM_State BFH_FehlerdatenMenue(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_KEY_OK: // explains the entry, as HELP does
        return BSD_ListState(me, &kHelpKey, kHistory, "BFH_FehlerdatenMenue");
    case SIG_TMR_HINT_TIMEOUT:
        ListHint(false);
        HINT_Refresh();
        return nullptr;
    default:
        return BSD_ListState(me, e, kHistory, "BFH_FehlerdatenMenue");
    }
}

SM_State BFH_KeineFehlerdaten(SM_Hsm* me, const SM_Event* e)
{
    return BSD_NoneState(me, e, kHistory, "BFH_KeineFehlerdaten");
}

SM_State BFH_LoeschenAbfrage(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_HELP) {
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kDeleteHelp);
        return nullptr;
    }
    return SCR_QuestionState(me, e, kDeleteQuestion);
}

SM_State BFH_LoeschenFeedback(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BFH_LoeschenFeedback", e)) {
        if (e->sig == SIG_INIT) {
            GUI_EraseScreen();
            DrawTitle();
            const GUI_FONTDEF* old = TXT_UseFontLarge();
            GUI_TextInBoxWrapped(TXT_GetText(kDeleted), &kMessageArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER,
                                 GUI_WRAP_WORD);
            GUI_SelectFont(old);
            SCR_Hint(HINT_CONTINUE_OK, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        BackToChoice(me);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

void BFH_PowerOn()
{
    bfh = History{};
}
