// Main menu, opened with MENU from any screen that does not use the key.
#include "screens/base/BGM.h"

#include "data/DAT.h"
#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/BSD.h"
#include "screens/base/BWD.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/PNL.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BSVM.h"
#include "screens/service/BZA.h"
#include "screens/user/BEIM.h"
#include "screens/user/BEM.h"
#include "screens/user/BHKM.h"
#include "screens/user/BWWM.h"

namespace {

constexpr std::uint8_t kEntryCount = 7;
constexpr std::uint8_t kHeating = 2;
constexpr std::uint16_t kTitle = 166;

struct Entry {
    std::uint16_t text;
    const GUI_PICTURE* icon;
    SM_Handler target;
    std::uint8_t help;
};

const Entry kEntries[kEntryCount] = {
    {259, &bmFault22, BSD_Stoerungsdialog, 92}, {291, &bmMaintenance22, BWD_WartungsDialog, 93},
    {126, &bmHeating22, BHKM_HKMenue, 94},      {285, &bmHotWater22, BWWM_WWMenue, 95},
    {135, &bmInfo22, BEIM_ExpertInfoMenue, 96}, {79, &bmSettings22, BEM_EinstellungenMenue, 97},
    {227, &bmService22, BSVM_Servicemenue, 98},
};

SCR_Menu bgm{0, 0, HINT_CHOOSE};

bool Visible(std::uint8_t index)
{
    switch (index) {
    case 0:
        return DAT_FaultPresent() || DAT_FaultReported();
    case 1:
        return DAT_MaintenanceDue();
    case 3:
        return DAT_HasHotWaterOption() || DAT_SecondHotWaterBit();
    case 6:
        return PNL_flags.serviceMode;
    default:
        return true;
    }
}

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
    GUI_PutBitmap(kEntries[I].icon, row->x1 - 22, row->y0 + 1);
}

constexpr ML_DrawFn kDraw[kEntryCount] = {Draw<0>, Draw<1>, Draw<2>, Draw<3>, Draw<4>, Draw<5>, Draw<6>};

void ToFirstVisible()
{
    ML_SetCursor(ML_FirstVisible());
    ML_SetFirstRow(ML_FirstVisible());
    bgm.hint = HINT_CHOOSE;
}

} // namespace

SM_State BGM_Grundmenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BGM_Grundmenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kDraw[i]);
            ML_SetEntryVisibleRaw(i, Visible(i) ? 1 : 0);
        }
        ML_SetCount(kEntryCount);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT: {
        const bool restore = SCR_MenuInit(bgm, e->par);
        if (e->par == SCR_FROM_PARENT) {
            ToFirstVisible();
        } else if (restore) {
            // Restored only as it was, never fitted.
            if (ML_IsEntryVisible(bgm.cursor) != 0 && ML_IsEntryVisible(bgm.firstRow) != 0) {
                ML_SetCursor(bgm.cursor);
                ML_SetFirstRow(bgm.firstRow);
            } else {
                ToFirstVisible();
            }
        }
        GUI_EraseScreen();
        TITLE_Draw(kTitle);
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_ShowEntry(i, Visible(i) ? 1 : 0);
        }
        ML_Draw();
        HINT_SetText(bgm.hint); // a running hint timer is left as it is
        LCD_Refresh();
        return nullptr;
    }
    case SIG_EXIT:
        SCR_MenuExit(bgm);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BMM_Menuemonitor, BGA_Grundanzeige, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_OK: {
        const Entry& entry = kEntries[ML_GetCursor()];
        if (ML_GetCursor() == kHeating) {
            DAT_SelectCircuit(DAT_FirstCircuit());
        }
        SM_TranParam(me, BKE_Kontrasteinstellung, entry.target, SCR_FROM_PARENT);
        return nullptr;
    }
    case SIG_KEY_MENU_DOWN: // the developers' way in
        SM_TranParam(me, BKE_Kontrasteinstellung, BZA_ZeichensatzAnzeige, SCR_FROM_PARENT);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bgm, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_TICK_5S:
        SM_TranParam(me, BGM_Grundmenue, BGM_Grundmenue, SCR_REFRESH);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kEntries[ML_GetCursor()].help);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bgm, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BGM_PowerOn()
{
    bgm = SCR_Menu{0, 0, HINT_CHOOSE};
}
