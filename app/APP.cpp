// The application's wiring.
#include "app/APP.h"

#include "app/MainTask.h"
#include "comm/DIS.h"
#include "comm/UART.h"
#include "core/BKL.h"
#include "core/DTM.h"
#include "core/KEY.h"
#include "gui/LCD.h"
#include "hal/HAL.h"
#include "screens/base/BGA.h"
#include "screens/base/BLA.h"
#include "screens/base/BMM.h"
#include "screens/common/TOP.h"

const APP_Task APP_TASKS[APP_TASK_COUNT] = {
    {BKL_Task, BKL_Backlight},
    {KEY_Task, KEY_Top},
    {DTM_Task, DTM_TimerTask},
    {DIS_Task, DIS_I2C_Task},
};

void APP_InstallHooks()
{
    HAL_Vectors vectors{};
    vectors.tick[HAL_PERIOD_1MS] = DTM_Tick1ms;
    vectors.tick[HAL_PERIOD_10MS] = DTM_Tick10ms;
    vectors.tick[HAL_PERIOD_20MS] = DTM_Tick20ms;
    vectors.tick[HAL_PERIOD_100MS] = DTM_Tick100ms;
    vectors.backlightChanged = LCD_BacklightChanged;
    HAL_InstallVectors(vectors);
    // Received bytes that found the screen task's queue full.
    DTM_InstallTick10msHook(UART_Pump);
    TOP_Install(
        TOP_States{BSM_Systemmonitor, BLA_Laufbalkenanzeige, BMM_Menuemonitor, BGA_Grundanzeige, BSM_SystemReset});
}
