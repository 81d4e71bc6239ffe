// Maintenance screens: why maintenance is due (burner hours, time interval),
// its acknowledgement, and the reset of the counters from the service
// functions.
#include "screens/base/BWD.h"

#include <cstdio>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BIF.h"

namespace {

constexpr std::uint16_t kTitle = 291;
constexpr std::uint16_t kAcknowledge = 206;
constexpr std::uint16_t kReset = 312;
constexpr std::uint16_t kHours = 113;
constexpr std::uint16_t kMonths = 176;
constexpr std::uint8_t kAcknowledgeMaintenance = 0x55;
constexpr std::uint8_t kResetMaintenance = 0xAA;
constexpr std::uint8_t kCounterHours = 19; // u16 in the counters block
constexpr std::uint8_t kCounterMonths = 23;
constexpr std::uint32_t kAcknowledgeHelp = 117;
constexpr GUI_BOX kListArea{0, 28, 239, 131};

struct Entry {
    std::uint16_t text;
    std::uint16_t due; // status word bit
    std::uint8_t help;
};
constexpr Entry kEntries[2] = {
    {50, DAT_SW_MAINTENANCE_HOURS, 115},
    {301, DAT_SW_MAINTENANCE_INTERVAL, 116},
};

struct Maintenance {
    SM_Handler returnScreen = nullptr;
    std::uint8_t answer = 0;
    std::uint8_t firstRow = 0;
    std::uint8_t cursor = 0;
};

Maintenance bwd;

bool Acknowledgeable()
{
    return (DAT_StatusWord() & DAT_SW_MAINTENANCE_MESSAGE) != 0;
}

SM_Handler ReturnScreen()
{
    return bwd.returnScreen != nullptr ? bwd.returnScreen : BGA_Grundanzeige;
}

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

// A value and its unit, cut to the characters the row has room for.
void DrawValue(const GUI_BOX* row, int value, std::uint16_t unit, std::size_t maxChars)
{
    char text[24];
    std::snprintf(text, sizeof text, "%d%s", value, TXT_GetText(unit));
    GUI_TextInBoxN(text, row, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER, static_cast<int>(maxChars));
}

void DrawHours(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[0].text);
    const auto hours =
        static_cast<std::int16_t>(DAT_image.counters[kCounterHours] | DAT_image.counters[kCounterHours + 1] << 8);
    DrawValue(row, hours, kHours, 14);
}

void DrawInterval(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[1].text);
    DrawValue(row, DAT_image.counters[kCounterMonths], kMonths, 20);
}

void Acknowledge()
{
    DIS_UO_Maintenance(kAcknowledgeMaintenance); // clears the latched message first
}

void Reset()
{
    DIS_UO_Maintenance(kResetMaintenance); // and the maintenance bits with it
}

SM_Handler Commissioning()
{
    return BIF_InbetriebnahmeMenue;
}

const SCR_Question kAcknowledgeQuestion{"BWD_QuittierungsAbfrage",
                                        DrawTitle,
                                        kAcknowledge,
                                        &bwd.answer,
                                        HINT_CONTINUE_OK,
                                        Acknowledge,
                                        BWD_QuittierungsFeedback,
                                        BWD_WartungsdatenMenue,
                                        BMM_Menuemonitor,
                                        BWD_WartungsDialog};

const SCR_QuestionFeedback kAcknowledgeFeedback{
    "BWD_QuittierungsFeedback", DrawTitle,         kAcknowledge, &bwd.answer, ReturnScreen, SCR_FROM_PARENT,
    BMM_Menuemonitor,           BWD_WartungsDialog};

const SCR_Question kResetQuestion{
    "BWD_WartungsReset",     DrawTitle,        kReset,          &bwd.answer, HINT_CONTINUE_OK, Reset, BWD_ResetFeedback,
    BIF_InbetriebnahmeMenue, BMM_Menuemonitor, BMM_Menuemonitor};

const SCR_QuestionFeedback kResetFeedback{"BWD_ResetFeedback", DrawTitle,      kReset,           &bwd.answer,
                                          Commissioning,       SCR_FROM_CHILD, BMM_Menuemonitor, BMM_Menuemonitor};

} // namespace

SM_State BWD_WartungsDialog(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BWD_WartungsDialog", e);
    switch (e->sig) {
    case SIG_ENTRY:
    case SIG_EXIT:
        return nullptr;
    case SIG_INIT:
        bwd.returnScreen = BMM_ReturnScreen();
        SM_InitParam(me, BWD_WartungsdatenMenue, e->par);
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        SM_TranParam(me, BMM_Menuemonitor, ReturnScreen(), SCR_FROM_PARENT);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State BWD_WartungsdatenMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BWD_WartungsdatenMenue", e);
    switch (e->sig) {
    case SIG_ENTRY: {
        ML_SetEntry(0, DrawHours);
        ML_SetEntry(1, DrawInterval);
        const std::uint16_t word = DAT_StatusWord();
        for (std::uint8_t i = 0; i < 2; ++i) {
            ML_SetEntryVisibleRaw(i, (word & kEntries[i].due) != 0 ? 1 : 0);
        }
        ML_SetCount(2);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    }
    case SIG_INIT:
        if (e->par == SCR_FROM_CHILD) {
            ML_RestorePosition(bwd.firstRow, bwd.cursor);
        }
        GUI_EraseScreen();
        DrawTitle();
        ML_Draw();
        HINT_SetText(Acknowledgeable() ? HINT_ACKNOWLEDGE_OK : HINT_BACK);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        bwd.firstRow = ML_GetFirstRow();
        bwd.cursor = ML_GetCursor();
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
        if (e->sig == SIG_KEY_UP) {
            ML_CursorUp();
        } else {
            ML_CursorDown();
        }
        LCD_RefreshBox(&kListArea);
        return nullptr;
    case SIG_KEY_OK:
        if (!Acknowledgeable()) {
            break; // nothing to acknowledge: back where the dialog was opened
        }
        SM_TranParam(me, BMM_Menuemonitor, BWD_QuittierungsAbfrage, SCR_FROM_PARENT);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kEntries[ML_GetCursor() == 1 ? 1 : 0].help);
        return nullptr;
    default:
        break;
    }
    return BWD_WartungsDialog;
}

SM_State BWD_QuittierungsAbfrage(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_KEY_OK:
        if (bwd.answer == 0) {
            return BWD_WartungsDialog; // "Nein": back where the dialog was opened, nothing sent
        }
        Acknowledge();
        SM_TranParam(me, BMM_Menuemonitor, BWD_QuittierungsFeedback, SCR_FROM_PARENT);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kAcknowledgeHelp);
        return nullptr;
    default:
        return SCR_QuestionState(me, e, kAcknowledgeQuestion);
    }
}

SM_State BWD_QuittierungsFeedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_QuestionFeedbackState(me, e, kAcknowledgeFeedback);
}

SM_State BWD_WartungsReset(SM_Hsm* me, const SM_Event* e)
{
    return SCR_QuestionState(me, e, kResetQuestion);
}

SM_State BWD_ResetFeedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_QuestionFeedbackState(me, e, kResetFeedback);
}

void BWD_PowerOn()
{
    bwd = Maintenance{};
}
