// Fault dialog: asks the control unit for its current faults, waits under an
// hourglass, lists them (or says there are none), asks them again every 10 s
// and lets the user acknowledge them.
#include "screens/base/BSD.h"

#include <cstdio>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "hal/HAL.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

constexpr std::uint8_t kFaultsType = 22;
constexpr std::uint8_t kHistoryType = 23;
constexpr std::uint16_t kTitle = 259;
constexpr std::uint16_t kNoFault = 146;
constexpr std::uint16_t kAcknowledge = 206;
constexpr std::uint8_t kAcknowledgeFaults = 85;
constexpr std::uint32_t kRefreshTicks = 100;   // 10 s
constexpr std::uint32_t kHourglassTicks = 3;   // 300 ms a frame
constexpr std::uint32_t kWaitHintTicks = 300;  // 30 s for the list to come
constexpr std::uint32_t kFirstFaultPage = 119; // help pages 119..128: entries 0..9
constexpr std::uint32_t kAcknowledgeHelp = 129;

constexpr GUI_BOX kHourglassBox{101, 61, 136, 96};
constexpr int kGlassX = 111; // the 16 x 36 frame, centred in the box
constexpr int kGlassY = 61;
constexpr int kGlassWidth = 16;
constexpr int kGlassHeight = 36;
constexpr GUI_BOX kMessageArea{0, 28, 239, 131};

// Fault texts by component number 0..48; 0: "Störung".
constexpr std::uint16_t kFaultTexts[49] = {
    0,  291, 50,  267, 232, 26, 279, 149, 252, 0,  0,   6,  208, 0, 0, 0, 0, 0, 0, 0, 260, 266, 27, 151, 236,
    97, 96,  107, 0,   0,   0,  0,   242, 170, 31, 153, 63, 0,   0, 0, 0, 0, 0, 0, 0, 0,   0,   0,  0,
};

struct Dialog {
    SM_Handler returnScreen = nullptr;
    std::uint8_t answer = 0;
    BSD_ListMemory list{};
};

Dialog bsd;

SM_Handler ReturnScreen()
{
    return bsd.returnScreen != nullptr ? bsd.returnScreen : BGA_Grundanzeige;
}

void Leave(SM_Hsm* me)
{
    SM_TranParam(me, BMM_Menuemonitor, ReturnScreen(), SCR_FROM_PARENT);
}

// The hourglass's outline: the left wall's column in each row (the right wall mirrors it).
int WallAt(int row)
{
    const int fromEnd = row < kGlassHeight / 2 ? row : kGlassHeight - 1 - row;
    return 1 + (fromEnd - 1) * 5 / 16;
}

void FillRow(int row)
{
    const int wall = WallAt(row);
    GUI_LineH(kGlassY + row, kGlassX + wall + 1, kGlassX + kGlassWidth - 2 - wall);
}

// Entries with a fault code; code 0 is an empty entry, wherever it stands.
std::uint8_t Faults(bool history)
{
    std::uint8_t n = 0;
    for (std::uint8_t i = 0; i < DAT_FAULT_ENTRIES; ++i) {
        DAT_SelectFault(history, i);
        n = static_cast<std::uint8_t>(n + (DAT_Fault(history)[0] != 0 ? 1 : 0));
    }
    return n;
}

void DrawRow(const GUI_BOX* row, bool history, std::uint8_t index)
{
    DAT_SelectFault(history, index);
    const std::uint8_t* f = DAT_Fault(history);
    char code[4];
    std::snprintf(code, sizeof code, "%02X", f[0]);
    ML_DrawName(row, BSD_FaultTextId(f[1]));
    ML_DrawValue(row, code);
}

template <std::uint8_t I> void Row(const GUI_BOX* row)
{
    DrawRow(row, false, I);
}

constexpr ML_DrawFn kRows[DAT_FAULT_ENTRIES] = {Row<0>, Row<1>, Row<2>, Row<3>, Row<4>,
                                                Row<5>, Row<6>, Row<7>, Row<8>, Row<9>};

// The same after a cursor move: no hint timer here.
void ListHint(bool)
{
    HINT_SetText(DAT_FaultReported() ? HINT_ACKNOWLEDGE_OK : HINT_BACK);
}

const BSD_List kFaults{
    false,    kTitle,          SIG_DATA_TYPE_22, BSD_Stoerungsdialog, BSD_StoerungsdatenMenue, BSD_KeineStoerung, kRows,
    ListHint, kFirstFaultPage, &bsd.list};

void DrawList(const BSD_List& l)
{
    BSD_Frame(l);
    ML_Draw();
    l.hint(false);
    LCD_Refresh();
}

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

void Acknowledge()
{
    DIS_UO_Faults(kAcknowledgeFaults);
    DAT_ClearMessageFlags(true, false);
}

SM_Handler QuestionReturn()
{
    return ReturnScreen();
}

const SCR_Question kQuestion{
    "BSD_QuittierungsAbfrage", DrawTitle,           kAcknowledge,     &bsd.answer,     HINT_CONTINUE_OK, Acknowledge,
    BSD_QuittierungsFeedback,  BSD_Stoerungsdialog, BMM_Menuemonitor, BMM_Menuemonitor};

const SCR_QuestionFeedback kFeedback{
    "BSD_QuittierungsFeedback", DrawTitle,       kAcknowledge, &bsd.answer, QuestionReturn, SCR_FROM_PARENT,
    BMM_Menuemonitor,           BMM_Menuemonitor};

// Marks the entries with a fault code in the menu list; how many there are.
std::uint8_t Count(const BSD_List& l)
{
    for (std::uint8_t i = 0; i < DAT_FAULT_ENTRIES; ++i) {
        DAT_SelectFault(l.history, i);
        ML_SetEntryVisibleRaw(i, DAT_Fault(l.history)[0] != 0 ? 1 : 0);
    }
    return Faults(l.history);
}

} // namespace

std::uint16_t BSD_FaultTextId(std::uint8_t component)
{
    const std::uint16_t id = component < sizeof kFaultTexts / sizeof kFaultTexts[0] ? kFaultTexts[component] : 0;
    return id != 0 ? id : kTitle;
}

void BSD_DrawHourglass(std::uint8_t frame)
{
    frame = static_cast<std::uint8_t>(frame % BSD_HOURGLASS_FRAMES);
    GUI_EraseBox(&kHourglassBox);
    const int last = kGlassHeight - 1;
    GUI_LineH(kGlassY, kGlassX, kGlassX + kGlassWidth - 1);
    GUI_LineH(kGlassY + last, kGlassX, kGlassX + kGlassWidth - 1);
    for (int row = 1; row < last; ++row) {
        const int wall = WallAt(row);
        GUI_Pixel(kGlassX + wall, kGlassY + row);
        GUI_Pixel(kGlassX + kGlassWidth - 1 - wall, kGlassY + row);
    }
    // Sixteen rows of sand: those not yet run through lie at the bottom of
    // the upper bulb, the others at the bottom of the lower one.
    constexpr int kNeck = kGlassHeight / 2; // first row of the lower bulb
    const int above = BSD_HOURGLASS_FRAMES - 1 - frame;
    for (int i = 0; i < above; ++i) {
        FillRow(kNeck - 1 - i);
    }
    for (int i = 0; i < frame; ++i) {
        FillRow(last - 1 - i);
    }
    if (above > 0 && frame > 0) { // the stream through the neck
        GUI_LineV(kGlassX + kGlassWidth / 2 - 1, kGlassY + kNeck - 1, kGlassY + last - 1 - frame);
    }
    LCD_RefreshBox(&kHourglassBox);
}

void BSD_Frame(const BSD_List& l)
{
    GUI_EraseScreen();
    TITLE_SetText(TXT_GetText(l.title));
    TITLE_DrawLine();
}

SM_State BSD_WaitState(SM_Hsm* me, const SM_Event* e, const BSD_List& l, const char* name, const char* exitName)
{
    if (e->sig == SIG_EXIT) {
        HAL_Trace("\n %s Exit", exitName);
        SM_Post(DTM_Task, SIG_TMR_DATA_SET, 0);
        SCR_ExitCommon();
        return nullptr;
    }
    if (SCR_Trace(name, e)) {
        if (e->sig == SIG_INIT) {
            BSD_Frame(l);
            l.memory->frame = 0;
            BSD_DrawHourglass(0);
            SM_Post(DTM_Task, SIG_TMR_DATA_SET, kHourglassTicks);
            HINT_SetText(HINT_PLEASE_WAIT);
            SM_Post(DTM_Task, SIG_TMR_HINT_SET, kWaitHintTicks);
            LCD_Refresh();
        }
        return nullptr;
    }
    if (e->sig == SIG_TMR_DATA_TIMEOUT) {
        l.memory->frame = static_cast<std::uint8_t>((l.memory->frame + 1) % BSD_HOURGLASS_FRAMES);
        BSD_DrawHourglass(l.memory->frame);
        SM_Post(DTM_Task, SIG_TMR_DATA_SET, kHourglassTicks);
        return nullptr;
    }
    if (e->sig == l.arrived) {
        if (Faults(l.history) > 0) {
            SM_TranParam(me, l.dialog, l.menu, SCR_FROM_PARENT);
        } else {
            SM_Tran(me, l.dialog, l.none);
        }
        return nullptr;
    }
    return l.dialog;
}

bool BSD_DialogSignal(const SM_Event* e, const BSD_List& l)
{
    switch (e->sig) {
    case SIG_ENTRY:
    case SIG_TMR_WAIT_TIMEOUT:
        DIS_UO_Request(l.history ? kHistoryType : kFaultsType, 0);
        SM_Post(DTM_Task, SIG_TMR_WAIT_SET, kRefreshTicks);
        return true;
    case SIG_EXIT:
        SM_Post(DTM_Task, SIG_TMR_WAIT_SET, 0);
        return true;
    default:
        return false;
    }
}

SM_State BSD_ListState(SM_Hsm* me, const SM_Event* e, const BSD_List& l, const char* name)
{
    SCR_Trace(name, e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < DAT_FAULT_ENTRIES; ++i) {
            ML_SetEntry(i, l.rows[i]);
        }
        ML_SetCount(DAT_FAULT_ENTRIES);
        Count(l);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_CHILD) {
            ML_RestorePosition(l.memory->firstRow, l.memory->cursor);
        }
        DrawList(l);
        return nullptr;
    case SIG_EXIT:
        l.memory->firstRow = ML_GetFirstRow();
        l.memory->cursor = ML_GetCursor();
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
        if (e->sig == SIG_KEY_UP) {
            ML_CursorUp();
        } else {
            ML_CursorDown();
        }
        l.hint(true);
        LCD_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, l.firstHelp + ML_GetCursor());
        return nullptr;
    default:
        break;
    }
    if (e->sig == l.arrived) {
        if (Count(l) == 0) {
            SM_Tran(me, l.dialog, l.none);
            return nullptr;
        }
        ML_RestorePosition(ML_GetFirstRow(), ML_GetCursor()); // the cursor's entry may have gone
        DrawList(l);
        return nullptr;
    }
    return l.dialog;
}

SM_State BSD_NoneState(SM_Hsm* me, const SM_Event* e, const BSD_List& l, const char* name)
{
    if (SCR_Trace(name, e)) {
        if (e->sig == SIG_INIT) {
            BSD_Frame(l);
            const GUI_FONTDEF* old = TXT_UseFontLarge();
            GUI_TextInBoxWrapped(TXT_GetText(kNoFault), &kMessageArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER,
                                 GUI_WRAP_WORD);
            GUI_SelectFont(old);
            SCR_Hint(HINT_CONTINUE_OK, true); // the dialog ends with the hint timer
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (e->sig == l.arrived) {
        if (Faults(l.history) > 0) {
            SM_TranParam(me, l.dialog, l.menu, SCR_FROM_PARENT);
        }
        return nullptr;
    }
    return l.dialog;
}

SM_State BSD_Stoerungsdialog(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BSD_Stoerungsdialog", e);
    if (BSD_DialogSignal(e, kFaults)) {
        return nullptr;
    }
    switch (e->sig) {
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT) {
            bsd.returnScreen = BMM_ReturnScreen();
            SM_InitParam(me, BSD_AufStoerungsdatenWarten, SCR_PLAIN);
        } else {
            SM_InitParam(me, BSD_StoerungsdatenMenue, SCR_FROM_CHILD); // the list again, without waiting
        }
        return nullptr;
    case SIG_SET_RETURN_STATE:
        if (e->par == BHA_RETURN_BASE_DISPLAY) {
            bsd.returnScreen = BGA_Grundanzeige;
        }
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        Leave(me);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State BSD_AufStoerungsdatenWarten(SM_Hsm* me, const SM_Event* e)
{
    return BSD_WaitState(me, e, kFaults, "BSD_AufStoerungsdatenWarten", "BSD_ExitStoerungsdatenAnfordern");
}

SM_State BSD_StoerungsdatenMenue(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_KEY_OK && DAT_FaultReported()) {
        SM_TranParam(me, BMM_Menuemonitor, BSD_QuittierungsAbfrage, SCR_FROM_PARENT);
        return nullptr;
    }
    return BSD_ListState(me, e, kFaults, "BSD_StoerungsdatenMenue"); // nothing to acknowledge: OK ends the dialog
}

SM_State BSD_KeineStoerung(SM_Hsm* me, const SM_Event* e)
{
    return BSD_NoneState(me, e, kFaults, "BSD_KeineStoerung");
}

SM_State BSD_QuittierungsAbfrage(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_KEY_OK && bsd.answer == 0) {
        Leave(me); // "Nein": the dialog ends, nothing sent
        return nullptr;
    }
    if (e->sig == SIG_HELP) {
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kAcknowledgeHelp);
        return nullptr;
    }
    return SCR_QuestionState(me, e, kQuestion);
}

SM_State BSD_QuittierungsFeedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_QuestionFeedbackState(me, e, kFeedback);
}

void BSD_PowerOn()
{
    bsd = Dialog{};
}
