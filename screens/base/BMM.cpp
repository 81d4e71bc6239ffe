// Menu monitor: parent of the base display and of every menu; the keys that
// work everywhere, service mode, and the screen to return to.
#include "screens/base/BMM.h"

#include "screens/base/BGA.h"
#include "screens/base/BGM.h"
#include "screens/base/BHA.h"
#include "screens/base/BMA.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/PNL.h"
#include "screens/common/SCR.h"
#include "screens/service/BCPM.h"
#include "screens/service/BMNT.h"
#include "screens/service/BSVM.h"
#include "screens/service/BTC.h"

namespace {

constexpr std::uint16_t kServiceTimeout = 18000;
constexpr std::uint32_t kHelpClose = 13;
constexpr std::uint32_t kHelpOpen = 14;
constexpr std::uint32_t kGeneralHelpPage = 16;

struct Monitor {
    SM_Handler returnScreen = nullptr;
    SM_Handler returnState = nullptr;
};

Monitor bmm;

void ServiceModeOff()
{
    PNL_flags.serviceMode = false;
    PNL_flags.codingLevel2 = false;
}

void SetLongTimeout(bool on)
{
    PNL_flags.longTimeout = on;
    SM_Post(DTM_Task, SIG_TMR_LIGHT_SET, BKE_OperationTimeout());
}

} // namespace

SM_Handler BMM_ReturnScreen()
{
    return bmm.returnScreen;
}

SM_Handler BMM_ReturnState()
{
    return bmm.returnState;
}

SM_State BMM_Menuemonitor(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BMM_Menuemonitor", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        if (e->par != SCR_RESTART_3AM) {
            ServiceModeOff();
            PNL_flags.longTimeout = false;
        }
        SM_InitParam(me, BGA_Grundanzeige, SCR_FROM_CHILD);
        return nullptr;
    case SIG_EXIT:
        // The exit chain has just left our child; the current state is still the innermost one.
        bmm.returnScreen = SM_GetLastExited(me);
        bmm.returnState = SM_GetState(me);
        return nullptr;
    case SIG_KEY_MENU:
        if (BGA_MenuAllowed()) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BGM_Grundmenue, SCR_FROM_PARENT);
        } else {
            SM_TranParam(me, BKE_Kontrasteinstellung, BMA_BedienungGesperrt, SCR_PLAIN);
        }
        return nullptr;
    case SIG_KEY_HELP:
        SM_Post(BED_Task, SIG_HELP, SM_TaskState(BED_Task) == BHA_Hilfeanzeige ? kHelpClose : kHelpOpen);
        return nullptr;
    case SIG_HELP:
        if (e->par == kHelpOpen) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kGeneralHelpPage);
        }
        return nullptr;
    case SIG_KEY_MENU_OK:
        PNL_flags.serviceMode = true;
        SM_Post(DTM_Task, SIG_TMR_SERVICE_SET, kServiceTimeout);
        SM_Post(DTM_Task, SIG_TMR_LIGHT_SET, BKE_OperationTimeout());
        SM_Post(BKL_Task, SIG_LIGHT_ON, 0);
        PNL_flags.screensaver = false;
        SM_TranParam(me, BKE_Kontrasteinstellung, BSVM_Servicemenue, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_OK_BACK:
        if (PNL_flags.serviceMode) {
            PNL_flags.codingLevel2 = true;
            SM_TranParam(me, BKE_Kontrasteinstellung, BCPM_Codierung_2_Menue, SCR_FROM_PARENT);
        }
        return nullptr;
    case SIG_TMR_SERVICE_TIMEOUT:
        // The current screen may react first.
        SM_DispatchSignal(me, SIG_SERVICE_END, 0);
        return nullptr;
    case SIG_SERVICE_END:
        ServiceModeOff();
        SM_Post(DTM_Task, SIG_TMR_SERVICE_SET, 0);
        SM_TranParam(me, BMM_Menuemonitor, BGA_Grundanzeige, SCR_FROM_PARENT);
        return nullptr;
    case SIG_TIMEOUT_LONG:
        SetLongTimeout(true);
        return nullptr;
    case SIG_TIMEOUT_NORMAL:
        SetLongTimeout(false);
        return nullptr;
    case SIG_MENU_TEST:
        SM_TranParam(me, BKE_Kontrasteinstellung, BMNT_MenuTest, SCR_FROM_PARENT);
        return nullptr;
    case SIG_PARTICIPANT_WINK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BTC_TeilnehmerWink, SCR_PLAIN);
        return nullptr;
    default:
        return BKE_Kontrasteinstellung;
    }
}

void BMM_PowerOn()
{
    bmm = Monitor{};
}
