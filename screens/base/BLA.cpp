// Start-up screen: a moving bar while the link starts; during the first 3 s
// the factory can divert the start into its test programs.
#include "screens/base/BLA.h"

#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "hal/HAL.h"
#include "screens/base/BGA.h"
#include "screens/base/BRA.h"
#include "screens/common/BKE.h"
#include "screens/common/SCR.h"
#include "screens/common/TOP.h"
#include "screens/common/VD.h"
#include "screens/service/BHE.h"
#include "screens/service/BHQ.h"

namespace {

constexpr GUI_BOX kBar{7, 29, 230, 52};
constexpr GUI_BOX kModelLine{0, 81, 239, 104};
constexpr GUI_BOX kVersionLine{0, 107, 239, 130};
constexpr std::uint16_t kTextModel = 392;
constexpr const char* kVersion = "Version: K470x065";
constexpr std::uint8_t kTriggerByte = 5;

struct Module {
    std::uint8_t position; // x of the next bar column
};

Module bla;

void BarStep()
{
    if (bla.position >= kBar.x1) {
        bla.position = static_cast<std::uint8_t>(kBar.x0);
        GUI_EraseBox(&kBar);
    } else {
        GUI_LineV(bla.position, kBar.y0, kBar.y1);
    }
    ++bla.position;
    GUI_FrameArea(kBar.x0, kBar.y0, kBar.x1, kBar.y1);
    SM_Post(DTM_Task, SIG_TMR_FAST_SET, 10);
}

void ShowModelAndVersion()
{
    GUI_TextInBox(TXT_GetText(kTextModel), &kModelLine, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    TXT_UseFontSmall();
    GUI_TextInBox(kVersion, &kVersionLine, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    TXT_UseFontNormal();
    LCD_RefreshBox(&kVersionLine);
    SM_Post(DTM_Task, SIG_TMR_START_SET, 40);
    LCD_RefreshBox(&kModelLine);
}

} // namespace

SM_State BLA_Laufbalkenanzeige(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BLA_Laufbalkenanzeige", e);
    switch (e->sig) {
    case SIG_ENTRY:
        bla.position = static_cast<std::uint8_t>(kBar.x0);
        return nullptr;
    case SIG_INIT:
        BRA_ClearAnimation(); // every start but the one at 3 o'clock shows this screen
        GUI_EraseScreen();
        BarStep();
        LCD_Refresh();
        SM_Post(BKL_Task, SIG_LIGHT_ON, 0);
        SM_Init(me, BLA_PruefprogrammStart);
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_TMR_FAST_TIMEOUT:
        BarStep();
        LCD_RefreshBox(&kBar);
        return nullptr;
    case SIG_KEY_HELP:
        ShowModelAndVersion();
        return nullptr;
    case SIG_TMR_START_TIMEOUT:
        GUI_EraseArea(0, 53, 239, 159);
        LCD_RefreshBox(&kModelLine);
        LCD_RefreshBox(&kVersionLine);
        return nullptr;
    default:
        return BKE_Kontrasteinstellung;
    }
}

SM_State BLA_PruefprogrammStart(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BLA_PruefprogrammStart", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(DTM_Task, SIG_TMR_HINT_SET, 30);
        HAL_UartReceiveEnable();
        return nullptr;
    case SIG_INIT:
        return nullptr;
    case SIG_EXIT:
        return nullptr;
    case SIG_KEY_MENU_DOWN:
        SM_TranParam(me, TOP_SystemMonitor(), BHE_HerstellerEndkontrolle, SCR_FROM_PARENT);
        return nullptr;
    case SIG_UART_RX:
        if (e->par == kTriggerByte) {
            SM_Tran(me, TOP_SystemMonitor(), BHQ_HardwareQualityCheck);
        }
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SM_Tran(me, BLA_Laufbalkenanzeige, BLA_KommunikationStart);
        return nullptr;
    default:
        return BLA_Laufbalkenanzeige;
    }
}

SM_State BLA_KommunikationStart(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BLA_KommunikationStart", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(DIS_Task, SIG_COMM_START, 0);
        SM_Post(DTM_Task, SIG_TMR_HINT_SET, 70);
        return nullptr;
    case SIG_INIT:
        return nullptr;
    case SIG_EXIT:
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        // No control unit answered: start without it.
        SM_Post(BED_Task, SIG_COMM_STARTED, 0);
        return nullptr;
    case SIG_COMM_STARTED:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGA_Grundanzeige, SCR_FROM_PARENT);
        return nullptr;
    default:
        return BLA_Laufbalkenanzeige;
    }
}

void BLA_PowerOn()
{
    bla = Module{};
}
