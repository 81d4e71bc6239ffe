// Hot-water menu: its entries follow the plant's hot-water options.
#include "screens/user/BWWM.h"

#include "data/DAT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGM.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/user/BWW.h"
#include "screens/user/BWWS.h"
#include "screens/user/BZPS.h"

namespace {

constexpr std::uint8_t kEntryCount = 3;
constexpr std::uint16_t kTitle = 285;

struct Entry {
    std::uint16_t text;
    SM_Handler target;
    std::uint8_t help;
};

const Entry kEntries[kEntryCount] = {
    {289, BWW_Warmwasser, 63},
    {306, BWWS_WWSchaltuhr, 64},
    {307, BZPS_ZPSchaltuhr, 65},
};

SCR_Menu bwwm{0, 0, HINT_CHOOSE};

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
}

constexpr ML_DrawFn kDraw[kEntryCount] = {Draw<0>, Draw<1>, Draw<2>};

bool Visible(std::uint8_t index)
{
    return index < 2 ? DAT_HasHotWaterOption() : DAT_HasCirculationPump();
}

void ApplyVisibility(bool live)
{
    for (std::uint8_t i = 0; i < kEntryCount; ++i) {
        if (live) {
            ML_ShowEntry(i, Visible(i) ? 1 : 0);
        } else {
            ML_SetEntryVisibleRaw(i, Visible(i) ? 1 : 0);
        }
    }
}

} // namespace

SM_State BWWM_WWMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BWWM_WWMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kDraw[i]);
        }
        ML_SetCount(kEntryCount);
        ApplyVisibility(false);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bwwm, e->par)) {
            ML_RestorePosition(bwwm.firstRow, bwwm.cursor);
        }
        GUI_EraseScreen();
        TITLE_Draw(kTitle);
        ApplyVisibility(true);
        ML_Draw();
        HINT_SetText(bwwm.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bwwm);
        return nullptr;
    case SIG_KEY_OK:
        if (ML_VisibleCount() > 0) {
            SM_TranParam(me, BKE_Kontrasteinstellung, kEntries[ML_GetCursor()].target, SCR_FROM_PARENT);
        }
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGM_Grundmenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bwwm, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_TICK_5S:
        SM_TranParam(me, BWWM_WWMenue, BWWM_WWMenue, SCR_REFRESH);
        return nullptr;
    case SIG_HELP:
        if (ML_VisibleCount() > 0) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kEntries[ML_GetCursor()].help);
            return nullptr;
        }
        return BMM_Menuemonitor;
    default:
        return SCR_MenuCursorKeys(bwwm, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BWWM_PowerOn()
{
    bwwm = SCR_Menu{0, 0, HINT_CHOOSE};
}
