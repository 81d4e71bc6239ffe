// Heating curve: a two-line menu, and for slope and level a dialog whose
// chart follows every key press.
#include "screens/user/BHKH.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BHKM.h"
#include "screens/user/HK.h"

namespace {

constexpr std::uint16_t kTitle = 115;
constexpr GUI_BOX kValueRow{0, 107, 239, 130};
constexpr GUI_BOX kValueText{1, 107, 238, 130};
constexpr GUI_BOX kValueArea{186, 107, 239, 130};

// What differs between the slope and the level.
struct Value {
    const char* dialog;
    const char* feedback;
    std::uint16_t name;
    std::uint8_t help;
    SM_Handler dialogState;
    SM_Handler feedbackState;
    bool slope;
};

const Value kSlope{"BHKH_NeigungDialog", "BHKH_FeedbackNeigung", 183, 61,
                   BHKH_NeigungDialog,   BHKH_FeedbackNeigung,   true};
const Value kLevel{"BHKH_NiveauDialog", "BHKH_FeedbackNiveau", 190, 62, BHKH_NiveauDialog, BHKH_FeedbackNiveau, false};

struct Module {
    SCR_Menu menu{0, 0, HINT_CHOOSE};
    bool changed = false;
};

Module bhkh;

void ReadCurve()
{
    HK_curve.slope = DAT_CircuitByte(DAT_CIRCUIT_SLOPE);
    HK_curve.level = static_cast<std::int8_t>(DAT_CircuitByte(DAT_CIRCUIT_LEVEL));
}

void ValueText(const Value& v, char* out, std::uint8_t size)
{
    if (v.slope) {
        HK_FormatSlope(HK_curve.slope, out, size);
    } else {
        HK_FormatLevel(HK_curve.level, out, size);
    }
}

template <bool Slope> void DrawEntry(const GUI_BOX* row)
{
    const Value& v = Slope ? kSlope : kLevel;
    char text[24];
    ValueText(v, text, sizeof text);
    ML_DrawName(row, v.name);
    ML_DrawValue(row, text);
}

void DrawValueRow(const Value& v, bool inverted)
{
    GUI_EraseBox(&kValueRow);
    char text[24];
    ValueText(v, text, sizeof text);
    GUI_TextInBox(TXT_GetText(v.name), &kValueText, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    GUI_TextInBox(text, &kValueText, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
    if (inverted) {
        GUI_InvertArea(kValueArea.x0, kValueArea.y0, kValueArea.x1, kValueArea.y1);
    }
}

void DrawDialog(const Value& v, bool inverted)
{
    GUI_EraseScreen();
    TITLE_Draw(kTitle);
    HK_DrawChart();
    DrawValueRow(v, inverted);
}

void ToMenu(SM_Hsm* me)
{
    SM_TranParam(me, BMM_Menuemonitor, BHKH_NeigungNiveauMenue, SCR_FROM_CHILD);
}

void Step(const Value& v, int delta)
{
    if (v.slope) {
        const int s = HK_curve.slope + delta;
        HK_curve.slope = static_cast<std::uint8_t>(s < HK_SLOPE_MIN   ? HK_SLOPE_MIN
                                                   : s > HK_SLOPE_MAX ? HK_SLOPE_MAX
                                                                      : s);
    } else {
        const int l = HK_curve.level + delta;
        HK_curve.level = static_cast<std::int8_t>(l < HK_LEVEL_MIN   ? HK_LEVEL_MIN
                                                  : l > HK_LEVEL_MAX ? HK_LEVEL_MAX
                                                                     : l);
    }
    bhkh.changed = true; // also at a limit: OK then stores
}

void Store(const Value& v)
{
    if (v.slope) {
        DAT_SetCircuitByte(DAT_CIRCUIT_SLOPE, HK_curve.slope);
        DIS_UO_Slope(HK_curve.slope);
    } else {
        DAT_SetCircuitByte(DAT_CIRCUIT_LEVEL, static_cast<std::uint8_t>(HK_curve.level));
        DIS_UO_Level(HK_curve.level);
    }
}

SM_State Dialog(SM_Hsm* me, const SM_Event* e, const Value& v)
{
    if (SCR_Trace(v.dialog, e)) {
        if (e->sig == SIG_INIT) {
            if (e->par != SCR_FROM_CHILD) {
                ReadCurve();
                bhkh.changed = false;
            }
            DrawDialog(v, true);
            SCR_Hint(HINT_CHANGE, false);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
        Step(v, e->sig == SIG_KEY_UP || e->sig == SIG_KEY_RIGHT ? +1 : -1);
        HK_DrawChart();
        DrawValueRow(v, true);
        SCR_Hint(HINT_TAKE_OVER_OK, true);
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_OK:
        if (bhkh.changed) {
            Store(v);
            SM_TranParam(me, BMM_Menuemonitor, v.feedbackState, SCR_FROM_PARENT);
        } else {
            ToMenu(me);
        }
        return nullptr;
    case SIG_KEY_BACK:
        ToMenu(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_Hint(HINT_CHANGE, false);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, v.help);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State Feedback(SM_Hsm* me, const SM_Event* e, const Value& v)
{
    if (SCR_Trace(v.feedback, e)) {
        if (e->sig == SIG_INIT) {
            DrawDialog(v, false);
            SCR_Hint(HINT_TAKEN_OVER, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
    case SIG_TMR_HINT_TIMEOUT:
        ToMenu(me);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, v.help);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

} // namespace

SM_State BHKH_NeigungNiveauMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHKH_NeigungNiveauMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        ML_SetEntry(0, DrawEntry<true>);
        ML_SetEntry(1, DrawEntry<false>);
        ML_SetCount(2);
        ML_Init(0, 239, 29, 24, 2, 2);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bhkh.menu, e->par)) {
            ML_RestorePosition(bhkh.menu.firstRow, bhkh.menu.cursor);
        }
        ReadCurve();
        GUI_EraseScreen();
        TITLE_Draw(kTitle);
        ML_Draw();
        HINT_SetText(bhkh.menu.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bhkh.menu);
        return nullptr;
    case SIG_KEY_OK:
        SM_TranParam(me, BMM_Menuemonitor, ML_GetCursor() == 0 ? BHKH_NeigungDialog : BHKH_NiveauDialog,
                     SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BMM_Menuemonitor, BHKM_HKMenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bhkh.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, ML_GetCursor() == 0 ? kSlope.help : kLevel.help);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bhkh.menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BHKH_NeigungDialog(SM_Hsm* me, const SM_Event* e)
{
    return Dialog(me, e, kSlope);
}

SM_State BHKH_NiveauDialog(SM_Hsm* me, const SM_Event* e)
{
    return Dialog(me, e, kLevel);
}

SM_State BHKH_FeedbackNeigung(SM_Hsm* me, const SM_Event* e)
{
    return Feedback(me, e, kSlope);
}

SM_State BHKH_FeedbackNiveau(SM_Hsm* me, const SM_Event* e)
{
    return Feedback(me, e, kLevel);
}

void BHKH_PowerOn()
{
    bhkh = Module{};
}
