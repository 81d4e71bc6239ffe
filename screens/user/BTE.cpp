// Temperature unit. The control unit keeps the unit and reports it in its
// status word; the panel sets the flag at once so that the screens follow
// before the answer comes in.
#include "screens/user/BTE.h"

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
#include "screens/user/BEM.h"

namespace {

enum Unit : std::uint8_t { kCelsius, kFahrenheit };

constexpr std::uint16_t kTitle = 268;
constexpr std::uint16_t kNames[2] = {109, 110};
constexpr std::uint16_t kSymbols[2] = {3, 4}; // "°C", "°F"
constexpr std::uint8_t kFunctions[2] = {11, 12};
constexpr std::uint8_t kFunctionEnd = 255;
constexpr std::uint32_t kHelpPage = 109;
constexpr std::int16_t kMarkWidth = 30;

struct Module {
    SCR_Menu menu{0, 0, HINT_CHOOSE};
    Unit atOpen = kCelsius;
};

Module bte;

Unit Current()
{
    return DAT_Fahrenheit() ? kFahrenheit : kCelsius;
}

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    ML_DrawName(row, kNames[I]);
    const GUI_BOX symbolBox{row->x0, row->y0, static_cast<std::int16_t>(row->x1 - kMarkWidth), row->y1};
    ML_DrawValue(&symbolBox, TXT_GetText(kSymbols[I]));
    ML_DrawChoiceMark(row, Current() == I);
}

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

std::uint16_t ChosenText()
{
    return kNames[Current()];
}

bool Changed()
{
    return Current() != bte.atOpen;
}

const SCR_Choice kChoice{
    "BTE_TemperatureinheitFeedback", DrawTitle,       ChosenText, Changed, BTE_TemperatureinheitEinstellen,
    BKE_Kontrasteinstellung,         BMM_Menuemonitor};

void Help(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
}

} // namespace

SM_State BTE_TemperatureinheitEinstellen(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BTE_TemperatureinheitEinstellen", e);
    switch (e->sig) {
    case SIG_ENTRY:
        ML_SetEntry(kCelsius, Draw<kCelsius>);
        ML_SetEntry(kFahrenheit, Draw<kFahrenheit>);
        ML_SetCount(2);
        ML_Init(0, 239, 29, 24, 2, 3);
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT) {
            bte.atOpen = Current();
            ML_RestorePosition(0, bte.atOpen);
        }
        if (SCR_MenuInit(bte.menu, e->par)) {
            ML_RestorePosition(bte.menu.firstRow, bte.menu.cursor);
        }
        GUI_EraseScreen();
        DrawTitle();
        ML_Draw();
        HINT_SetText(bte.menu.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bte.menu);
        return nullptr;
    case SIG_KEY_OK: {
        const bool fahrenheit = ML_GetCursor() == kFahrenheit;
        DIS_UO_Function(kFunctions[ML_GetCursor()], kFunctionEnd);
        DAT_SetStatusWordFlag(DAT_SW_FAHRENHEIT, fahrenheit);
        SM_TranParam(me, BKE_Kontrasteinstellung, BTE_TemperatureinheitFeedback, SCR_FROM_PARENT);
        return nullptr;
    }
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BEM_EinstellungenMenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bte.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        Help(me);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bte.menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BTE_TemperatureinheitFeedback(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_HELP) {
        Help(me);
        return nullptr;
    }
    return SCR_ChoiceFeedbackState(me, e, kChoice);
}

void BTE_PowerOn()
{
    bte = Module{};
}
