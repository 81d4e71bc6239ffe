// Root of every screen: start-up, key activity, operation timeout and the
// contrast keys, which therefore work on every screen.
#include "screens/common/BKE.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "gui/LCD.h"
#include "screens/common/PNL.h"
#include "screens/common/SCR.h"
#include "screens/common/TOP.h"

namespace {

constexpr std::uint16_t kTimeoutNormal = 1200;
constexpr std::uint16_t kTimeoutLong = 18000;
constexpr std::uint16_t kServiceTimeout = 18000;

// Stored in the image and reported, so that the control unit keeps it over restarts.
void StoreContrast(std::uint8_t contrast)
{
    DAT_SetContrast(contrast);
    DIS_UO_DisplaySettings(contrast, DAT_GetLanguageByte(), DAT_DisplayFlag());
}

void Step(SM_Hsm* me, std::uint8_t contrast)
{
    StoreContrast(contrast);
    SM_DispatchSignal(me, SIG_CONTRAST_CHANGED, contrast);
}

} // namespace

std::uint16_t BKE_OperationTimeout()
{
    return PNL_flags.serviceMode || PNL_flags.longTimeout ? kTimeoutLong : kTimeoutNormal;
}

SM_State BKE_Kontrasteinstellung(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BKE_Kontrasteinstellung", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        if (e->par != SCR_RESTART_3AM) {
            PNL_flags.screensaver = false;
            SM_InitParam(me, TOP_StartUp(), e->par);
        } else {
            // The restart at 3 o'clock skips the start-up screen.
            SM_Post(DIS_Task, SIG_COMM_START, 0);
            SM_InitParam(me, TOP_MenuMonitor(), e->par);
        }
        SM_Post(DTM_Task, SIG_TIMERS_ON, 0);
        return nullptr;
    case SIG_EXIT:
        return nullptr;
    case SIG_KEY_ANY:
        PNL_flags.keyActivity = true;
        SM_Post(DTM_Task, SIG_TMR_LIGHT_SET, BKE_OperationTimeout());
        if (PNL_flags.serviceMode) {
            SM_Post(DTM_Task, SIG_TMR_SERVICE_SET, kServiceTimeout);
        }
        return nullptr;
    case SIG_TMR_LIGHT_TIMEOUT:
        PNL_flags.keyActivity = false;
        SM_TranParam(me, TOP_MenuMonitor(), TOP_BaseDisplay(), SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_OK_UP:
    case SIG_CONTRAST_UP:
        Step(me, LCD_ContrastUp());
        return nullptr;
    case SIG_KEY_OK_DOWN:
    case SIG_CONTRAST_DOWN:
        Step(me, LCD_ContrastDown());
        return nullptr;
    case SIG_CONTRAST_SET:
        StoreContrast(static_cast<std::uint8_t>(e->par));
        return nullptr;
    case SIG_TICK_5S:
        LCD_Refresh();
        return nullptr;
    default:
        return TOP_SystemMonitor();
    }
}
