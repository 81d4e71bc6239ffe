// Communication task: start-up conversation, periodic requests, link
// watchdog, and received telegrams into the operating data image.
#include "comm/DIS.h"

#include <initializer_list>

#include "comm/DIS_Link.h"
#include "comm/DIS_UserOps.h"
#include "core/BKL.h"
#include "core/DTM.h"
#include "core/MAIN_Record.h"
#include "data/DAT.h"
#include "data/FLS.h"
#include "data/TXT.h"
#include "gui/LCD.h"
#include "hal/HAL.h"

namespace {

constexpr std::uint32_t kSilenceTicks = 300; // 30 s of 100 ms ticks
constexpr std::uint8_t kErrorLinkLost = 32;
constexpr std::uint8_t kErrorBadType = 136;
constexpr std::uint8_t kNotSet = 255;
constexpr std::uint8_t kMaxQueuedForRequest = 3;

// Requests in order of priority; 27..32 are types 0..2 of circuits 1 and 2.
constexpr std::uint8_t kPriority[] = {10, 14, 22, 23, 13, 28, 31, 27, 30, 29, 32, 15,
                                      3,  4,  5,  6,  7,  8,  9,  17, 24, 26, 18, 25};

struct Comm {
    bool polling = true;
    bool linkActive = false;
    std::uint32_t lastRead = 0;
    std::uint8_t resets = 0;
};

Comm comm;

std::uint8_t PlantState()
{
    return DAT_PlantState();
}

void StampRead()
{
    comm.lastRead = DTM_Ticks100ms();
}

// A type becomes due again; types 0..2 also per present circuit.
void MarkDue(std::uint8_t type)
{
    if (type > 35) {
        SM_Post(BED_Task, SIG_BED_ERROR_RESET, kErrorBadType);
        return;
    }
    if (DIS_RequestState(type) == DIS_CURRENT) {
        DIS_SetRequestState(type, DIS_DUE);
    }
    for (std::uint8_t c = 1; type <= 2 && c <= 2; ++c) {
        const std::uint8_t i = DIS_CircuitIndex(type, c);
        if (DAT_CircuitPresent(c) && DIS_RequestState(i) == DIS_CURRENT) {
            DIS_SetRequestState(i, DIS_DUE);
        }
    }
}

// The labels are asked of circuit 1, or of circuit 2 where the plant has
// only that one, whichever circuit is selected.
void RequestLabels()
{
    if (DAT_CircuitPresent(1)) {
        DIS_UO_RequestCircuit(25, 1, 1);
    } else if (DAT_CircuitPresent(2)) {
        DIS_UO_RequestCircuit(25, 2, 1);
    }
}

// Queues a request: types 0..2 per present circuit, the labels, the fault
// lists from part 0.
void Request(std::uint8_t type)
{
    if (type > 35) {
        SM_Post(BED_Task, SIG_BED_ERROR_RESET, kErrorBadType);
        return;
    }
    if (type <= 2) {
        for (std::uint8_t c = 1; c <= 2; ++c) {
            if (DAT_CircuitPresent(c)) {
                DIS_UO_Request(DIS_CircuitIndex(type, c), 0);
            }
        }
        return;
    }
    if (type == 25) {
        RequestLabels();
        return;
    }
    DIS_UO_Request(type, 0);
}

void MarkGroup30()
{
    if (DAT_HasSolar()) {
        MarkDue(17);
        MarkDue(24);
        MarkDue(26);
    }
    if (PlantState() > 3) {
        MarkDue(18);
    }
}

void MarkGroup60()
{
    for (std::uint8_t t : {1, 2, 0, 10, 15, 22, 3, 4, 5, 6, 7, 8, 9, 25}) {
        MarkDue(t);
    }
}

void InitialRequests()
{
    MAIN_SetResetReason(0);
    RequestLabels();
    Request(2);
    Request(1);
    Request(0);
    if (DAT_HasSolar()) {
        Request(17);
        Request(24);
        Request(26);
    }
    Request(15);
    Request(22);
    for (std::uint8_t t = 3; t <= 9; ++t) {
        MarkDue(t);
    }
}

// The control unit keeps the panel's display settings; 255 means it has
// none yet, and then the factory defaults apply and are sent back.
void TakeDisplaySettings()
{
    std::uint8_t contrast = DAT_Contrast();
    const bool contrastUnset = contrast == kNotSet;
    if (contrastUnset) {
        contrast = FLS_GetSetting(FLS_CONTRAST);
        DAT_SetContrast(contrast);
    }
    LCD_SetContrast(contrast);
    std::uint8_t& saver = DAT_image.displayTail[DAT_TAIL_SAVER_BRIGHTNESS];
    std::uint8_t& operating = DAT_image.displayTail[DAT_TAIL_OPERATING_BRIGHTNESS];
    if (operating == kNotSet) {
        operating = FLS_GetSetting(FLS_BRIGHTNESS_DEFAULT);
        DIS_UO_Brightness(true, operating);
    }
    if (saver == kNotSet) {
        saver = FLS_GetSetting(FLS_SCREENSAVER_DEFAULT);
        DIS_UO_Brightness(false, saver);
    }
    BKL_SetBrightnessSettings(operating, saver);
    TXT_SetLanguage(DAT_GetLanguageByte());
    if (contrastUnset) {
        DIS_UO_DisplaySettings(contrast, TXT_GetLanguage(), DAT_DisplayFlag());
    }
}

void PostChanged(std::uint8_t type)
{
    const std::uint16_t sig = SIG_DataTypeSignal(type);
    if (sig != SIG_NONE) {
        SM_Post(DIS_Task, sig, 0);
        SM_Post(BED_Task, sig, 0);
    }
}

// What a stored telegram sets off: further parts, settings, signals.
void AfterStore(const std::uint8_t* t)
{
    const std::uint8_t type = t[0] >> 3;
    const std::uint8_t circuit = t[1];
    const std::uint8_t part = t[2];
    switch (type) {
    case 1: {
        // Brightness as the control unit keeps it; "not set" is settled at the start.
        const std::uint8_t saver = DAT_image.displayTail[DAT_TAIL_SAVER_BRIGHTNESS];
        const std::uint8_t operating = DAT_image.displayTail[DAT_TAIL_OPERATING_BRIGHTNESS];
        BKL_SetBrightnessSettings(operating != kNotSet ? operating : BKL_OperatingBrightness(),
                                  saver != kNotSet ? saver : BKL_ScreensaverBrightness());
        break;
    }
    case 2:
        if (DAT_Contrast() != kNotSet) {
            LCD_SetContrast(DAT_Contrast());
        }
        SM_Post(DTM_Task, SIG_CLOCK_SET, DAT_ControllerClock());
        break;
    case 22:
    case 23:
        if (part < 4) {
            DIS_UO_Request(type, static_cast<std::uint8_t>(part + 1));
            return;
        }
        break;
    case 25:
        if (part == 1) {
            DIS_UO_RequestCircuit(25, circuit, 2);
            return;
        }
        // Circuit 2's label is asked for after circuit 1's: it too comes back after a restart.
        if (circuit == 1 && DAT_CircuitPresent(2)) {
            DIS_UO_RequestCircuit(25, 2, 1);
            return;
        }
        break;
    default:
        if (type >= 3 && type <= 9 && circuit == 1 && DAT_CircuitCount() == 2) {
            DIS_UO_RequestCircuit(type, 2, 0);
            return;
        }
        break;
    }
    PostChanged(type);
}

void Cycle()
{
    DIS_ProcessChangeMask();
    DIS_ProcessStatus();
    for (std::uint8_t index : kPriority) {
        if (DIS_RequestState(index) == DIS_DUE) {
            if (DIS_QueueCount() < kMaxQueuedForRequest) {
                if (index >= DIS_PER_CIRCUIT) {
                    DIS_UO_Request(index, 0);
                } else {
                    Request(index);
                }
            }
            break;
        }
    }
    DIS_OfferNext();
    std::uint8_t telegram[32];
    if (DIS_TakeDataTelegram(telegram) && DAT_StoreTelegram(telegram, sizeof telegram)) {
        AfterStore(telegram);
    }
}

void Watchdog()
{
    DAT_TickHoldOff();
    if (!comm.linkActive || DTM_Ticks100ms() - comm.lastRead <= kSilenceTicks) {
        return;
    }
    DIS_LinkReset();
    StampRead();
    if (comm.resets > 0) {
        SM_Post(BED_Task, SIG_BED_ERROR_RESET, kErrorLinkLost);
    }
    if (comm.resets < 255) {
        ++comm.resets;
    }
}

// Signals both working states share.
bool Common(const SM_Event* e)
{
    switch (e->sig) {
    case SIG_DIS_TICK:
        Watchdog();
        return true;
    case SIG_DIS_CYCLE:
        Cycle();
        return true;
    default:
        return false;
    }
}

} // namespace

SM_State DIS_I2C_Task(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_Trace("\n DIS_I2C_Task Entry");
        return nullptr;
    case SIG_INIT:
        HAL_Trace("\n DIS_I2C_Task Init");
        DIS_LinkInit();
        comm = Comm{};
        return nullptr;
    case SIG_EXIT:
        HAL_Trace("\n DIS_I2C_Task Exit");
        return nullptr;
    case SIG_DIS_MASTER_READ:
        StampRead();
        comm.linkActive = true;
        comm.resets = 0;
        return nullptr;
    case SIG_COMM_STOP:
        comm.linkActive = false;
        return nullptr;
    case SIG_DIS_LINK_RESET:
        DIS_LinkReset();
        return nullptr;
    case SIG_COMM_START:
        SM_Tran(me, DIS_I2C_Task, DIS_StartCommunication);
        return nullptr;
    default:
        return SM_Top;
    }
}

SM_State DIS_StartCommunication(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_Trace("\n DIS_StartCommunication Entry");
        MarkDue(10);
        DIS_UO_StartOfCommunication(MAIN_GetResetReason());
        StampRead();
        return nullptr;
    case SIG_INIT:
        HAL_Trace("\n DIS_StartCommunication Init");
        return nullptr;
    case SIG_EXIT:
        HAL_Trace("\n DIS_StartCommunication Exit");
        return nullptr;
    case SIG_DATA_TYPE_10:
        InitialRequests();
        return nullptr;
    case SIG_DATA_TYPE_9:
        if (PlantState() > 3) {
            Request(18);
        }
        TakeDisplaySettings();
        SM_Post(BED_Task, SIG_COMM_STARTED, 0);
        SM_Tran(me, DIS_I2C_Task, DIS_Run);
        return nullptr;
    default:
        return Common(e) ? nullptr : SM_State(DIS_I2C_Task);
    }
}

SM_State DIS_Run(SM_Hsm*, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_Trace("\n DIS_Run Entry");
        return nullptr;
    case SIG_INIT:
        HAL_Trace("\n DIS_Run Init");
        return nullptr;
    case SIG_EXIT:
        HAL_Trace("\n DIS_Run Exit");
        return nullptr;
    case SIG_DIS_TICK_30S:
        if (comm.polling) {
            MarkGroup30();
        }
        return nullptr;
    case SIG_DIS_TICK_60S:
        if (comm.polling) {
            MarkGroup60();
        }
        return nullptr;
    case SIG_DIS_REFRESH_ALL:
        MarkGroup30();
        MarkGroup60();
        return nullptr;
    case SIG_DIS_POLL_ON:
        comm.polling = true;
        return nullptr;
    case SIG_DIS_POLL_OFF:
        comm.polling = false;
        return nullptr;
    default:
        return Common(e) ? nullptr : SM_State(DIS_I2C_Task);
    }
}

void DIS_SetLinkActive(bool active)
{
    comm.linkActive = active;
}

bool DIS_LinkActive()
{
    return comm.linkActive;
}

std::uint8_t DIS_LinkResets()
{
    return comm.resets;
}

bool DIS_Polling()
{
    return comm.polling;
}

void DIS_PowerOn()
{
    comm = Comm{};
}
