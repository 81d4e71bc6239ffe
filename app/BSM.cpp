// System monitor (outermost screen state) and the reset screen.
#include <cstdio>

#include "app/MainTask.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "hal/HAL.h"
#include "screens/common/BKE.h"
#include "screens/common/PNL.h"

namespace {

void Reset(SM_Hsm* me, std::uint8_t reason)
{
    SM_Post(DTM_Task, SIG_TIMERS_OFF, 0);
    SM_Post(DIS_Task, SIG_COMM_STOP, 0);
    MAIN_SetResetReason(reason);
    SM_Tran(me, SM_Top, BSM_SystemReset);
}

} // namespace

SM_State BSM_Systemmonitor(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_Trace("\n BSM_Systemmonitor Entry");
        return nullptr;
    case SIG_INIT:
        HAL_Trace("\n BSM_Systemmonitor Init");
        SM_InitParam(me, BKE_Kontrasteinstellung, e->par);
        return nullptr;
    case SIG_EXIT:
        HAL_Trace("\n BSM_Systemmonitor Exit");
        return nullptr;
    case SIG_TICK_ADC:
        MAIN_SetAliveBit(5);
        return nullptr;
    case SIG_TICK_KEYSCAN:
        MAIN_SetAliveBit(2);
        return nullptr;
    case SIG_TICK_10MS:
        MAIN_SetAliveBit(3);
        return nullptr;
    case SIG_TICK_100MS:
        MAIN_SetAliveBit(4);
        return nullptr;
    case SIG_3UHR_RESTART:
        HAL_Trace("\n*SIG_3UHR_RESTART");
        // Only while nobody uses the panel.
        if (PNL_flags.screensaver) {
            Reset(me, 1);
        }
        return nullptr;
    case SIG_REG_RESET:
        HAL_Trace("\n*SIG_REG_RESET");
        Reset(me, 2);
        return nullptr;
    case SIG_BED_ERROR_RESET:
        HAL_Trace("\n*SIG_BED_ERROR_RESET: %d", static_cast<int>(e->par));
        Reset(me, static_cast<std::uint8_t>(e->par & 0xFF));
        return nullptr;
    default:
        return SM_Top;
    }
}

SM_State BSM_SystemReset(SM_Hsm*, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_Trace("\n BSM_SystemReset Entry");
        HAL_WatchdogInit();
        HAL_WatchdogPrepare();
        MAIN_SetAliveBit(0);
        MAIN_SetAliveBit(1);
        return nullptr;
    case SIG_INIT: {
        HAL_Trace("\n BSM_SystemReset Init");
        GUI_EraseScreen();
        static constexpr GUI_BOX kTop{0, 0, 239, 79};
        static constexpr GUI_BOX kBottom{0, 79, 239, 159};
        GUI_TextInBox(TXT_GetText(218), &kTop, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
        char code[32];
        std::snprintf(code, sizeof code, "%s: %u", TXT_GetText(58), static_cast<unsigned>(MAIN_GetResetReason()));
        GUI_TextInBox(code, &kBottom, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
        MAIN_RequestRestart();
        LCD_Refresh();
        return nullptr;
    }
    case SIG_EXIT:
        HAL_Trace("\n BSM_SystemReset Exit");
        return nullptr;
    default:
        return SM_Top;
    }
}
