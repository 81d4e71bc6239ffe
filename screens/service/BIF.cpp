// Service-functions menu. Every entry is always shown; screens not built
// yet are placeholders.
#include "screens/service/BIF.h"

#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/BWD.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/service/BBF.h"
#include "screens/service/BEG.h"
#include "screens/service/BMG.h"
#include "screens/service/BMH.h"
#include "screens/service/BSPM.h"
#include "screens/service/BSVM.h"
#include "screens/service/BTC.h"

namespace {

constexpr std::uint16_t kTitle = 229;
constexpr std::uint8_t kEntryCount = 7;
constexpr std::uint32_t kHelpPage = 98; // as the service menu's

struct Entry {
    std::uint16_t text;
    SM_Handler target;
};

const Entry kEntries[kEntryCount] = {
    {265, BTC_AufbauTeilnehmerListe},
    {231, BSPM_ServicePinMessage},
    {293, BWD_WartungsReset},
    {36, BBF_Befuellung},
    {81, BEG_Entlueftung},
    {163, BMH_Startabfrage},
    {162, BMG_Startabfrage},
};

SCR_Menu bif{0, 0, HINT_CHOOSE};

template <std::uint8_t I> void Row(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
}

constexpr ML_DrawFn kRows[kEntryCount] = {Row<0>, Row<1>, Row<2>, Row<3>, Row<4>, Row<5>, Row<6>};

} // namespace

SM_State BIF_InbetriebnahmeMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BIF_InbetriebnahmeMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kRows[i]);
            ML_SetEntryVisibleRaw(i, 1);
        }
        ML_SetCount(kEntryCount);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bif, e->par)) {
            ML_RestorePosition(bif.firstRow, bif.cursor);
        }
        GUI_EraseScreen();
        TITLE_SetText(TXT_GetText(kTitle));
        TITLE_DrawLine();
        ML_Draw();
        HINT_SetText(bif.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bif);
        return nullptr;
    case SIG_KEY_OK:
        SM_TranParam(me, BKE_Kontrasteinstellung, kEntries[ML_GetCursor() % kEntryCount].target, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BSVM_Servicemenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bif, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bif, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BIF_PowerOn()
{
    bif = SCR_Menu{0, 0, HINT_CHOOSE};
}
