#include "sim/PowerOn.h"

#include "app/MainTask.h"
#include "comm/UART.h"
#include "core/SM.h"
#include "data/FLS.h"
#include "hal/HAL.h"

void SIM_PowerOn()
{
    HAL_PowerOn();
    MAIN_PowerOn();
    SM_PowerOn();
    UART_PowerOn();
    FLS_PowerOn();
}
