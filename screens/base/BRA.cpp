// Screensaver: two opposite ring segments turning by 2 degrees every 200 ms.
#include "screens/base/BRA.h"

#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/PNL.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

constexpr GUI_BOX kSymbol{82, 42, 156, 116};
constexpr int kCentreX = 119;
constexpr int kCentreY = 79;
constexpr int kRadius = 30;
constexpr std::uint8_t kPenWidth = 7;
constexpr std::uint32_t kHelpPage = 17;

struct Module {
    std::uint8_t angle; // 0..180: the symbol repeats after half a turn
};

Module bra;

void Step()
{
    const std::uint8_t pen = GUI_SelectPenWidth(kPenWidth);
    GUI_EraseBox(&kSymbol);
    const int a = bra.angle;
    GUI_Arc(kCentreX, kCentreY, kRadius, kRadius, a, a + 90);
    GUI_Arc(kCentreX, kCentreY, kRadius, kRadius, a + 180, a + 270);
    GUI_SelectPenWidth(pen);
    bra.angle = static_cast<std::uint8_t>(bra.angle + 2);
    if (bra.angle > 180) {
        bra.angle = static_cast<std::uint8_t>(bra.angle - 180);
    }
    SM_Post(DTM_Task, SIG_TMR_DATA_SET, 2);
    LCD_RefreshBox(&kSymbol);
}

void WakeUp(SM_Hsm* me)
{
    PNL_flags.screensaver = false;
    SM_TranParam(me, BMM_Menuemonitor, BGA_Grundanzeige, SCR_FROM_PARENT);
}

} // namespace

void BRA_ClearAnimation()
{
    bra.angle = 0;
}

SM_State BRA_RuheAnimation(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BRA_RuheAnimation", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        GUI_EraseScreen();
        Step();
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        SM_Post(DTM_Task, SIG_TMR_DATA_SET, 0);
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_UP:
    case SIG_KEY_LEFT:
    case SIG_KEY_DOWN:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
    case SIG_KEY_MENU:
        WakeUp(me);
        return nullptr;
    case SIG_TMR_DATA_TIMEOUT:
        Step();
        return nullptr;
    case SIG_TICK_5S:
        // The base display chooses again; with the flag still set it comes back here.
        SM_TranParam(me, BGA_Grundanzeige, BGA_Grundanzeige, SCR_FROM_PARENT);
        return nullptr;
    case SIG_HELP:
        PNL_flags.screensaver = false;
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        // Help must not return to the screensaver it was opened from.
        SM_DispatchSignal(me, SIG_SET_RETURN_STATE, BHA_RETURN_BASE_DISPLAY);
        SM_Post(BKL_Task, SIG_LIGHT_ON, 0);
        return nullptr;
    default:
        return BGA_Grundanzeige;
    }
}

void BRA_PowerOn()
{
    bra = Module{};
}
