// Communication task. The link is inert in the simulation; until the
// conversation is built the task only keeps its place in the scheduler.
#include "comm/DIS.h"

#include "hal/HAL.h"

SM_State DIS_I2C_Task(SM_Hsm*, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_Trace("\n DIS_I2C_Task Entry");
        return nullptr;
    case SIG_INIT:
        HAL_Trace("\n DIS_I2C_Task Init");
        return nullptr;
    case SIG_EXIT:
        HAL_Trace("\n DIS_I2C_Task Exit");
        return nullptr;
    default:
        return SM_Top;
    }
}
