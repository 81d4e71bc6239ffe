// Time and date screens. The dialogs edit a copy of the clock; OK sets the
// clock and tells the control unit.
#include "screens/user/BUD.h"

#include "comm/DIS_UserOps.h"
#include "core/DTM.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/FMT_Date.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BIA.h"
#include "screens/user/BEM.h"

namespace {

// The flows, by the parameter the time dialog was first entered with.
enum Flow : std::uint32_t {
    kFromMenu = SCR_PLAIN,
    kAssistant = SCR_ASSISTANT,
    kClockMessage = SCR_CLOCK_MESSAGE,
    kFromSettings = SCR_FROM_SETTINGS
};
enum Field : std::uint8_t { kTime, kDate };

constexpr std::uint16_t kTitle = 273;
constexpr std::uint16_t kTimeText = 272;
constexpr std::uint16_t kDateText = 65;
constexpr std::uint8_t kRepeatRate = 15;
constexpr std::int32_t kMaxStep = 120;
constexpr std::uint16_t kStepsPerGrowth = 25;
constexpr std::int32_t kGrowth[2] = {2, 4}; // time, date
constexpr GUI_BOX kRows[2] = {{1, 29, 238, 52}, {1, 55, 238, 78}};
constexpr GUI_BOX kMenuArea{0, 28, 239, 131};

struct TimeDate {
    SCR_Menu menu{0, 0, HINT_CHOOSE};
    std::uint32_t flow = kFromMenu;
    DTM_Clock edit{};
    std::int32_t step = 1;
    bool accelerating = false;
    std::uint16_t stepsSinceGrowth = 0;
    bool changed = false;
    Field confirmed = kTime; // the dialog the feedback follows
};

TimeDate bud;

// A screen and its transition parameter.
struct Next {
    SM_Handler target;
    std::uint32_t par;
};

Next AfterTime(bool back)
{
    switch (bud.flow) {
    case kFromSettings:
        return back ? Next{BEM_EinstellungenMenue, SCR_FROM_CHILD} : Next{BUD_DatumDialog, kFromSettings};
    case kAssistant:
        return back ? Next{BIA_InbetriebnahmeAssistent, SCR_ASSISTANT_LEFT} : Next{BUD_DatumDialog, kAssistant};
    case kClockMessage:
        return back ? Next{BGA_Grundanzeige, SCR_FROM_PARENT} : Next{BUD_DatumDialog, kClockMessage};
    default:
        return {BUD_DatumUhrzeitMenue, SCR_FROM_CHILD};
    }
}

Next AfterDate(bool back)
{
    switch (bud.flow) {
    case kFromSettings:
        return back ? Next{BUD_UhrzeitDialog, kFromSettings} : Next{BEM_EinstellungenMenue, SCR_FROM_CHILD};
    case kAssistant:
        return back ? Next{BUD_UhrzeitDialog, kAssistant} : Next{BIA_InbetriebnahmeAssistent, SCR_ASSISTANT_CONFIRMED};
    case kClockMessage:
        return back ? Next{BUD_UhrzeitDialog, kClockMessage} : Next{BGA_Grundanzeige, SCR_FROM_PARENT};
    default:
        return {BUD_DatumUhrzeitMenue, SCR_FROM_CHILD};
    }
}

void Go(SM_Hsm* me, Next next)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, next.target, next.par);
}

void TakeFlow(std::uint32_t par)
{
    if (par == kFromMenu || par == kAssistant || par == kClockMessage || par == kFromSettings) {
        bud.flow = par;
    }
}

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

// Text of the field, as the time/date screens show it.
void Format(const DTM_Clock& c, Field f, char* out, std::size_t size)
{
    FMT_DateTime(c, f == kTime ? 5 : 0, out, size);
}

// A labelled value in its row; the edited one inverted.
void DrawField(const GUI_BOX* row, Field f, const DTM_Clock& c, bool inverted)
{
    GUI_EraseBox(row);
    char value[32];
    Format(c, f, value, sizeof value);
    GUI_TextInBox(TXT_GetText(f == kTime ? kTimeText : kDateText), row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    GUI_TextInBox(value, row, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
    if (inverted) {
        const int x0 = row->x1 - GUI_TextWidth(value) - 1;
        GUI_InvertArea(x0 > row->x0 ? x0 : row->x0, row->y0, row->x1, row->y1);
    }
}

void DrawDialog(Field edited, bool inverted)
{
    GUI_EraseScreen();
    DrawTitle();
    DrawField(&kRows[kTime], kTime, bud.edit, inverted && edited == kTime);
    DrawField(&kRows[kDate], kDate, bud.edit, inverted && edited == kDate);
}

void ResetStep()
{
    bud.step = 1;
    bud.accelerating = false;
    bud.stepsSinceGrowth = 0;
}

void Move(Field f, bool up)
{
    const std::int32_t by = up ? bud.step : -bud.step;
    if (f == kTime) {
        DTM_AddMinutes(bud.edit.hour, bud.edit.minute, by);
    } else {
        DTM_AddDays(bud.edit, by);
    }
    bud.changed = true;
    if (bud.accelerating && ++bud.stepsSinceGrowth >= kStepsPerGrowth) {
        bud.stepsSinceGrowth = 0;
        bud.step = bud.step + kGrowth[f] < kMaxStep ? bud.step + kGrowth[f] : kMaxStep;
    }
}

// Sets the clock and tells the control unit: the edited field with the
// clock's other half.
void Store(Field f)
{
    DTM_Clock c = DTM_GetClock();
    if (f == kTime) {
        c.hour = bud.edit.hour;
        c.minute = bud.edit.minute;
        c.second = 0;
        DIS_UO_Time(DTM_RecordToSeconds(c));
    } else {
        c.year = bud.edit.year;
        c.month = bud.edit.month;
        c.day = bud.edit.day;
        c.weekday = bud.edit.weekday;
        DIS_UO_Date(DTM_RecordToSeconds(c));
    }
    bud.edit = c; // what the feedback shows: the clock is set only when the timer task runs
}

SM_State Dialog(SM_Hsm* me, const SM_Event* e, const char* name, Field f)
{
    if (SCR_Trace(name, e)) {
        if (e->sig == SIG_ENTRY) {
            SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, kRepeatRate);
            ResetStep();
        } else if (e->sig == SIG_INIT) {
            TakeFlow(e->par);
            if (e->par != SCR_FROM_CHILD) {
                bud.edit = DTM_GetClock();
                if (f == kTime) {
                    bud.edit.second = 0;
                }
                bud.changed = false;
            }
            DrawDialog(f, true);
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
        Move(f, e->sig == SIG_KEY_UP || e->sig == SIG_KEY_RIGHT);
        DrawField(&kRows[f], f, bud.edit, true);
        SCR_Hint(HINT_TAKE_OVER_OK, true);
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_FAST_REPEAT:
        bud.step = kGrowth[f];
        bud.accelerating = true;
        bud.stepsSinceGrowth = 0;
        return nullptr;
    case SIG_KEY_RELEASED:
        SM_Post(KEY_Task, SIG_KEY_FLUSH, 0);
        ResetStep();
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_Hint(HINT_CHANGE, false);
        HINT_Refresh();
        return nullptr;
    case SIG_KEY_OK:
        Store(f);
        if (f == kDate && bud.flow == kClockMessage) {
            DAT_EndClockRequest(); // as the control unit would on the new date; else the message comes back
        }
        if (bud.changed) {
            bud.confirmed = f;
            SM_Tran(me, BMM_Menuemonitor, BUD_Feedback);
        } else {
            Go(me, f == kTime ? AfterTime(false) : AfterDate(false));
        }
        return nullptr;
    case SIG_KEY_BACK:
        Go(me, f == kTime ? AfterTime(true) : AfterDate(true));
        return nullptr;
    case SIG_KEY_MENU:
        if (bud.flow == kAssistant) {
            return nullptr;
        }
        break;
    default:
        break;
    }
    return BMM_Menuemonitor;
}

template <std::uint8_t F> void DrawMenuRow(const GUI_BOX* row)
{
    char value[32];
    Format(DTM_GetClock(), static_cast<Field>(F), value, sizeof value);
    ML_DrawName(row, F == kTime ? kTimeText : kDateText);
    ML_DrawValue(row, value);
}

void RedrawMenu()
{
    ML_Draw();
    LCD_RefreshBox(&kMenuArea);
}

} // namespace

SM_State BUD_DatumUhrzeitMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BUD_DatumUhrzeitMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        ML_SetEntry(kTime, DrawMenuRow<kTime>);
        ML_SetEntry(kDate, DrawMenuRow<kDate>);
        ML_SetCount(2);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bud.menu, e->par)) {
            ML_RestorePosition(bud.menu.firstRow, bud.menu.cursor);
        }
        GUI_EraseScreen();
        DrawTitle();
        ML_Draw();
        HINT_SetText(bud.menu.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bud.menu);
        return nullptr;
    case SIG_KEY_OK:
        SM_TranParam(me, BKE_Kontrasteinstellung, ML_GetCursor() == kTime ? BUD_UhrzeitDialog : BUD_DatumDialog,
                     kFromMenu);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BEM_EinstellungenMenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bud.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_TICK_5S:
    case SIG_DATA_TYPE_2:
        RedrawMenu(); // the clock runs on screen
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bud.menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BUD_UhrzeitDialog(SM_Hsm* me, const SM_Event* e)
{
    return Dialog(me, e, "BUD_UhrzeitDialog", kTime);
}

SM_State BUD_DatumDialog(SM_Hsm* me, const SM_Event* e)
{
    return Dialog(me, e, "BUD_DatumDialog", kDate);
}

SM_State BUD_Feedback(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BUD_Feedback", e)) {
        if (e->sig == SIG_INIT) {
            DrawDialog(bud.confirmed, false);
            SCR_Hint(HINT_TAKEN_OVER, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    // Any key goes on, MENU and HELP as well: the flow is not left halfway.
    if (SCR_IsKey(e->sig) || e->sig == SIG_TMR_HINT_TIMEOUT) {
        Go(me, bud.confirmed == kTime ? AfterTime(false) : AfterDate(false));
        return nullptr;
    }
    return BMM_Menuemonitor;
}

void BUD_PowerOn()
{
    bud = TimeDate{};
}
