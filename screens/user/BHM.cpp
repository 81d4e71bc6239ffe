// Brightness menu.
#include "screens/user/BHM.h"

#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/user/BEH.h"
#include "screens/user/BEM.h"

namespace {

constexpr std::uint16_t kTitle = 128;

struct Entry {
    std::uint16_t text;
    SM_Handler target;
    std::uint8_t help;
};

const Entry kEntries[2] = {{32, BEH_HelligkeitBedienung, 112}, {70, BEH_HelligkeitRuheanimation, 113}};

SCR_Menu bhm{0, 0, HINT_CHOOSE};

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
}

} // namespace

SM_State BHM_HelligkeitMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHM_HelligkeitMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        ML_SetEntry(0, Draw<0>);
        ML_SetEntry(1, Draw<1>);
        ML_SetCount(2);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bhm, e->par)) {
            ML_RestorePosition(bhm.firstRow, bhm.cursor);
        }
        GUI_EraseScreen();
        TITLE_SetText(TXT_GetText(kTitle));
        TITLE_DrawLine();
        ML_Draw();
        HINT_SetText(bhm.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bhm);
        return nullptr;
    case SIG_KEY_OK:
        SM_TranParam(me, BKE_Kontrasteinstellung, kEntries[ML_GetCursor()].target, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BEM_EinstellungenMenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bhm, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kEntries[ML_GetCursor()].help);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bhm, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BHM_PowerOn()
{
    bhm = SCR_Menu{0, 0, HINT_CHOOSE};
}
