// Heating-circuit menu: room set temperatures, operating program, party and
// economy, time and holiday programs, heating curve; LEFT and RIGHT change
// the circuit.
#include "screens/user/BHKM.h"

#include "data/DAT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BEE.h"
#include "screens/base/BFA.h"
#include "screens/base/BGM.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/user/BBA.h"
#include "screens/user/BFP.h"
#include "screens/user/BHKH.h"
#include "screens/user/BHKS.h"
#include "screens/user/BPB.h"
#include "screens/user/BRN.h"
#include "screens/user/BRT.h"
#include "screens/user/BSP.h"
#include "screens/user/HK.h"

namespace {

constexpr std::uint8_t kEntryCount = 8;
constexpr GUI_BOX kListArea{0, 28, 239, 131};

enum Mark : std::uint8_t { kNoMark, kParty, kEconomy, kHoliday };

struct Entry {
    std::uint16_t text;
    SM_Handler target;
    std::uint8_t help;
    Mark mark;
};

const Entry kEntries[kEntryCount] = {
    {210, BRT_RaumtemperaturTag, 40, kNoMark},    {214, BRN_RaumtemperaturNacht, 41, kNoMark},
    {40, BetriebsartEinstellen, 42, kNoMark},     {197, BPB_Partybetrieb, 43, kParty},
    {249, BSP_SparbetriebFeedback, 44, kEconomy}, {305, BHKS_HKSchaltuhr, 45, kNoMark},
    {95, BFP_FerienProgramm, 46, kHoliday},       {115, BHKH_NeigungNiveauMenue, 47, kNoMark},
};

SCR_Menu bhkm{0, 0, HINT_CHOOSE};

bool HolidaySet()
{
    return (DAT_ModeWord() & DAT_MODE_HOLIDAY) != 0 || DAT_HolidayDeparture().year > 1970;
}

bool Marked(Mark mark)
{
    switch (mark) {
    case kParty:
        return DAT_PartyOn();
    case kEconomy:
        return DAT_EconomyOn();
    default:
        return HolidaySet();
    }
}

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
    if (kEntries[I].mark != kNoMark) {
        ML_DrawChoiceMark(row, Marked(kEntries[I].mark));
    }
}

constexpr ML_DrawFn kDraw[kEntryCount] = {Draw<0>, Draw<1>, Draw<2>, Draw<3>, Draw<4>, Draw<5>, Draw<6>, Draw<7>};

} // namespace

SM_State BHKM_HKMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHKM_HKMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kDraw[i]);
        }
        ML_SetCount(kEntryCount);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bhkm, e->par)) {
            ML_RestorePosition(bhkm.firstRow, bhkm.cursor);
        }
        GUI_EraseScreen();
        BEE_DrawTitle();
        ML_Draw();
        HINT_SetText(bhkm.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bhkm);
        return nullptr;
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        if (DAT_CircuitCount() > 1) {
            if (e->sig == SIG_KEY_LEFT) {
                HK_PrevCircuit();
            } else {
                HK_NextCircuit();
            }
            SM_TranParam(me, BKE_Kontrasteinstellung, BFA_Feedbackanzeige, SCR_FROM_PARENT);
        }
        return nullptr;
    case SIG_KEY_OK:
        SM_TranParam(me, BKE_Kontrasteinstellung, kEntries[ML_GetCursor()].target, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGM_Grundmenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bhkm, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_TICK_5S:
        // The party, economy and holiday marks follow the data.
        ML_Draw();
        LCD_RefreshBox(&kListArea);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kEntries[ML_GetCursor()].help);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bhkm, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BHKM_PowerOn()
{
    bhkm = SCR_Menu{0, 0, HINT_CHOOSE};
}
