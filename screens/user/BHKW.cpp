// Circuit choice: with two circuits the user picks one; with one it is
// taken and the target opens at once.
#include "screens/user/BHKW.h"

#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/user/BBHK.h"
#include "screens/user/BHKG.h"
#include "screens/user/BHKH.h"
#include "screens/user/BRT.h"

namespace {

constexpr std::uint16_t kTitleOther = 123;
constexpr std::uint8_t kHelpCircuit1 = 100; // 101 for circuit 2

struct Target {
    SM_Handler state;
    std::uint16_t title;
};

Target TargetOf(std::uint32_t n)
{
    switch (n) {
    case BHKW_TO_ROOM_TEMPERATURE:
        return {BRT_RaumtemperaturTag, 209};
    case BHKW_TO_RESET:
        return {BHKG_HKGrundeinstellung, 111};
    case BHKW_TO_HEATING_CURVE:
        return {BHKH_NeigungNiveauMenue, kTitleOther};
    case BHKW_TO_LABEL:
        return {BBHK_BeschriftungDialog, 119};
    default:
        return {nullptr, kTitleOther};
    }
}

struct Module {
    SCR_Menu menu{0, 0, HINT_CHOOSE};
    std::uint32_t target = 0;
    SM_Handler returnState = nullptr;
    std::uint8_t count = 0;
};

Module bhkw;

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    char name[TXT_LABEL_UTF8 + 4];
    TXT_CopyText(static_cast<std::uint16_t>(116 + I), name, sizeof name);
    ML_DrawLeftRight(row, name, TXT_GetText(static_cast<std::uint16_t>(130 + I)));
}

void DrawScreen()
{
    GUI_EraseScreen();
    TITLE_SetText(TXT_GetText(TargetOf(bhkw.target).title));
    TITLE_DrawLine();
    ML_Draw();
    HINT_SetText(bhkw.menu.hint);
    LCD_Refresh();
}

void Leave(SM_Hsm* me)
{
    SM_TranParam(me, BMM_Menuemonitor, bhkw.returnState != nullptr ? bhkw.returnState : BGA_Grundanzeige,
                 SCR_FROM_CHILD);
}

} // namespace

void BHKW_Open(SM_Hsm* me, BHKW_Target target)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BHKW_HKWahl, SCR_FROM_PARENT);
    SM_DispatchSignal(me, SIG_SET_NEXT_STATE, target);
}

SM_State BHKW_HKWahl(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHKW_HKWahl", e);
    switch (e->sig) {
    case SIG_ENTRY:
        ML_SetEntry(0, Draw<0>);
        ML_SetEntry(1, Draw<1>);
        ML_SetCount(2);
        ML_Init(0, 239, 29, 24, 2, 2);
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT) {
            bhkw.returnState = BMM_ReturnScreen();
            bhkw.menu.left = false;
            return nullptr; // the target follows
        }
        if (bhkw.count < 2) {
            SM_DispatchSignal(me, SIG_KEY_BACK, 0); // there was nothing to choose
            return nullptr;
        }
        if (SCR_MenuInit(bhkw.menu, e->par)) {
            ML_RestorePosition(bhkw.menu.firstRow, bhkw.menu.cursor);
        }
        DrawScreen();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bhkw.menu);
        return nullptr;
    case SIG_SET_NEXT_STATE:
        bhkw.target = e->par;
        bhkw.count = DAT_CircuitCount();
        if (TargetOf(bhkw.target).state == nullptr) {
            Leave(me);
        } else if (bhkw.count < 2) {
            DAT_SelectCircuit(DAT_FirstCircuit());
            SM_TranParam(me, BKE_Kontrasteinstellung, TargetOf(bhkw.target).state, SCR_FROM_PARENT);
        } else {
            bhkw.menu.hint = HINT_CHOOSE;
            ML_RestorePosition(0, static_cast<std::uint8_t>(DAT_CurrentCircuit() - 1));
            DrawScreen();
        }
        return nullptr;
    case SIG_KEY_OK:
        if (TargetOf(bhkw.target).state == nullptr) {
            Leave(me);
            return nullptr;
        }
        DAT_SelectCircuit(static_cast<std::uint8_t>(ML_GetCursor() + 1));
        SM_TranParam(me, BKE_Kontrasteinstellung, TargetOf(bhkw.target).state, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        Leave(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bhkw.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpCircuit1 + ML_GetCursor());
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bhkw.menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BHKW_PowerOn()
{
    bhkw = Module{};
}
