// Main task: start, main loop and software restart.
#include "app/MainTask.h"

#include <algorithm>

#include "app/APP.h"
#include "comm/UART.h"
#include "core/DTM.h"
#include "data/DAT.h"
#include "data/FLS.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "hal/HAL.h"
#include "hal/host.h"
#include "screens/common/PNL.h"
#include "screens/common/TOP.h"

namespace {

constexpr std::uint32_t kLoopMs = 100;
constexpr std::int32_t kSleepStepMs = 5; // the graphics layer's delay serves the window in such steps
constexpr std::uint8_t kErrorMemoryDamaged = 35;
constexpr std::uint8_t kErrorUnknownReason = 37;
constexpr std::uint16_t kAdcConversions = 8815;

struct Ambient {
    std::uint32_t channel[5];
    std::uint16_t conversions;
};

struct Main {
    bool restart = false;
    std::uint32_t startMode = 1;
    std::uint8_t alive = 0;
    Ambient ambient{};
    std::uint32_t serialBusyUntil = 0; // GUI_GetTime() until which the wait takes 1-ms steps
};

Main m;

std::uint32_t DeriveStartMode()
{
    MAIN_ResetRecord& record = MAIN_GetResetRecord();
    if (record.magic != MAIN_RECORD_MAGIC) {
        record.magic = MAIN_RECORD_MAGIC;
        record.reason = 0;
        return 1;
    }
    const std::uint8_t r = record.reason;
    if (r == 1) {
        return 2;
    }
    if (r == 2) {
        return 3;
    }
    if (r >= 32 && r <= 38) {
        return 1;
    }
    if (r >= 128 && r <= 136) {
        return 4;
    }
    record.reason = kErrorUnknownReason;
    return 1;
}

// Everything runs with interrupts locked, so no tick posts before the
// tasks exist.
void Initialise()
{
    MAIN_GetResetRecord().memoryMarker = MAIN_MEMORY_MARKER;
    m.startMode = DeriveStartMode();
    MAIN_SetRomChecksum(0xFFFF);
    HAL_InitInterrupts();
    __disable_interrupt();
    APP_InstallHooks();
    HAL_BoardInit();
    HAL_BoardInitPorts();
    m.alive = 0x3C;
    HAL_WatchdogInit();
    m.ambient = Ambient{{0, 0, 0, 0, 0}, kAdcConversions};
    HAL_AdcInit();
    HAL_ExtraDevicesInit();
    for (const APP_Task& t : APP_TASKS) {
        SM_TaskCtor(t.task);
    }
    UART_Open(UART_TEST_PORT); // once per process; a restart finds it open

    FLS_Init(); // once per power-on: the flash keeps its contents over restarts
    TXT_ClearBuffer();

    if (m.startMode != 2) {
        DAT_InitDefaults(DTM_HostLocalSeconds()); // nothing fills the image over the link here
    }

    PNL_flags.serviceMode = false;
    PNL_flags.codingLevel2 = false;
    PNL_flags.keyActivity = false;

    GUI_Start();
    GUI_UseUtf8();

    SM_ClearReady();
    SM_TaskCtor(BED_Task);
}

void Start(std::uint32_t mode)
{
    HAL_InputStart();
    for (const APP_Task& t : APP_TASKS) {
        SM_TaskStart(t.task, t.initial, mode);
    }
    __enable_interrupt();
    SM_TaskStart(BED_Task, BSM_Systemmonitor, mode == 2 ? 2 : 1);
}

// The loop's 100 ms wait. While the test serial port is busy, the wait ends
// as soon as the port has posted, and its steps are 1 ms: the factory
// tester's protocol answers byte by byte, and at one byte per cycle a
// display-cache read would take minutes instead of seconds. Nothing else
// changes its timing.
void WaitForNextCycle()
{
    const std::uint32_t start = GUI_GetTime();
    for (;;) {
        const auto remaining = static_cast<std::int32_t>(start + kLoopMs - GUI_GetTime());
        if (remaining < 1) {
            return;
        }
        if (UART_TakeActivity()) {
            m.serialBusyUntil = GUI_GetTime() + kLoopMs;
            return;
        }
        const bool serialBusy = static_cast<std::int32_t>(m.serialBusyUntil - GUI_GetTime()) > 0;
        GUI_Sleep(serialBusy ? 1 : std::min<std::int32_t>(remaining, kSleepStepMs));
    }
}

void RunOnce()
{
    Initialise();
    Start(m.startMode);
    for (;;) {
        SM_RunQueued();
        WaitForNextCycle();
        if (MAIN_GetResetRecord().memoryMarker != MAIN_MEMORY_MARKER) {
            SM_DispatchSignal(SM_TaskHsm(BED_Task), SIG_BED_ERROR_RESET, kErrorMemoryDamaged);
            SM_RunQueued(); // the reset's timers-off and communication stop, before the loop ends
        }
        if (m.restart) {
            return;
        }
    }
}

} // namespace

void MainTask()
{
    if (!HOST().acquireSingleInstance("Simulation_am_laufen")) {
        HOST().messageBox("Es ist bereits eine Simulation aktiv.", "Hinweis");
        return;
    }
    tim_resetEnables(); // a host may have stopped an earlier run with the ticks on
    GUI_Sleep(250);
    for (;;) {
        m.restart = false;
        RunOnce();
        HAL_Trace("\n*RESTARTING");
    }
}

void MAIN_RequestRestart()
{
    m.restart = true;
}

std::uint32_t MAIN_StartMode()
{
    return m.startMode;
}

void MAIN_SetAliveBit(std::uint8_t bit)
{
    m.alive = static_cast<std::uint8_t>(m.alive | (1U << bit));
    const auto trigger = [] {
        HAL_WatchdogTrigger();
        (void)HAL_WatchdogReadBack();
    };
    switch (m.alive) {
    case 0x3C:
        trigger();
        trigger();
        m.alive = 0;
        break;
    case 0x3E:
        trigger();
        m.alive = 2;
        break;
    case 0x3D:
        trigger();
        m.alive = 1;
        break;
    default:
        break;
    }
}

std::uint8_t MAIN_AliveByte()
{
    return m.alive;
}

void MAIN_PowerOn()
{
    MAIN_RecordPowerOn();
    m = Main{};
    PNL_PowerOn();
    TOP_PowerOn();
}
