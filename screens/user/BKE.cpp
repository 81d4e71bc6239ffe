// Root of every screen. For now only the start of the hardware ticks; the
// screens below it and the contrast keys join as they are built.
#include "screens/user/BKE.h"

#include "core/MainTask.h"
#include "core/PNL.h"
#include "hal/HAL.h"

SM_State BKE_Kontrasteinstellung(SM_Hsm*, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_Trace("\n BKE_Kontrasteinstellung Entry");
        return nullptr;
    case SIG_INIT:
        HAL_Trace("\n BKE_Kontrasteinstellung Init");
        if (e->par != 2) {
            PNL_flags.screensaver = false;
        } else {
            SM_Post(DIS_Task, SIG_COMM_START, 0);
        }
        SM_Post(DTM_Task, SIG_TIMERS_ON, 0);
        return nullptr;
    case SIG_EXIT:
        HAL_Trace("\n BKE_Kontrasteinstellung Exit");
        return nullptr;
    default:
        return BSM_Systemmonitor;
    }
}
