#include "sim/PowerOn.h"

#include "core/MainTask.h"
#include "hal/HAL.h"

void SIM_PowerOn()
{
    HAL_PowerOn();
    MAIN_PowerOn();
}
