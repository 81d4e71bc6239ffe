// Operating data image: blocks, defaults, received telegrams, status edges.
#include "data/DAT.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/SM.h"
#include "hal/HAL.h"

DAT_Image DAT_image;

namespace {

constexpr std::uint8_t kErrorCircuitGiven = 133;
constexpr std::uint8_t kErrorCircuitSelected = 134;

struct State {
    std::uint8_t selected = 0;
    std::uint8_t view[28];
    std::uint8_t circuitStatus[4];
    DTM_Clock departure;
    DTM_Clock returnDay;
    std::uint16_t previousWord = 0;
    std::uint8_t previousByte7 = 0;
    std::uint8_t holdOff[3] = {0, 0, 0};
    bool messageA = false;
    bool messageB = false;
    std::uint8_t faultCursor[2] = {0, 0};
    std::uint8_t program = 0;
    std::uint8_t day = 0;
    std::uint32_t ignored = 0;
};

State st;

template <std::size_t N> void Set(std::uint8_t (&block)[N], std::size_t at, std::initializer_list<std::uint8_t> bytes)
{
    std::size_t i = at;
    for (std::uint8_t b : bytes) {
        if (i < N) {
            block[i++] = b;
        }
    }
}

std::uint16_t U16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t U32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

void PutU32(std::uint8_t* p, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// Copies what fits of the payload into a block.
void CopyInto(std::uint8_t* block, std::size_t blockSize, std::size_t blockAt, const std::uint8_t* payload,
              std::size_t payloadAt, std::size_t count)
{
    if (payloadAt >= DAT_PAYLOAD_MAX || blockAt >= blockSize) {
        return;
    }
    count = std::min({count, DAT_PAYLOAD_MAX - payloadAt, blockSize - blockAt});
    std::memcpy(block + blockAt, payload + payloadAt, count);
}

void SetLabelText(std::uint8_t circuit, const char* ascii)
{
    std::uint16_t units[DAT_LABEL_UNITS] = {};
    std::uint8_t n = 0;
    while (ascii[n] != '\0' && n < DAT_LABEL_UNITS) {
        units[n] = static_cast<std::uint8_t>(ascii[n]);
        ++n;
    }
    DAT_SetCircuitLabel(circuit, units, n, 0);
}

std::uint8_t KindOf(std::uint8_t circuit)
{
    const std::uint8_t b = DAT_image.plant[23];
    return circuit == 1 ? (b & 0x03) : ((b >> 2) & 0x03);
}

// `locked`: the caller already holds the interrupt lock (the start-up does).
void FillView(std::uint8_t circuit, bool locked = false)
{
    std::memcpy(st.view, DAT_image.circuit[circuit - 1], sizeof st.view);
    if (!locked) {
        __disable_interrupt();
    }
    std::memcpy(st.circuitStatus, &DAT_image.status[circuit == 1 ? 8 : 12], sizeof st.circuitStatus);
    if (!locked) {
        __enable_interrupt();
    }
    st.departure = DTM_SecondsToRecord(U32(&st.view[14]));
    st.returnDay = DTM_SecondsToRecord(U32(&st.view[18]));
}

void StoreFaultPart(std::uint8_t (&list)[DAT_FAULT_ENTRIES][DAT_FAULT_SIZE], const std::uint8_t* payload)
{
    const std::uint8_t part = payload[0];
    if (part > 4) {
        return;
    }
    if (part == 0) {
        std::memset(list, 0, sizeof list);
    }
    std::memcpy(list[2 * part], payload + 1, DAT_FAULT_SIZE);
    std::memcpy(list[2 * part + 1], payload + 12, DAT_FAULT_SIZE);
}

void StoreLabelPart(std::uint8_t circuit, const std::uint8_t* payload)
{
    std::uint16_t* label = DAT_image.labels[circuit - 1];
    const std::size_t first = payload[0] == 1 ? 0 : 10;
    // At most ten units, whatever the count says: the part has room for ten.
    const std::uint8_t count = std::min<std::uint8_t>(payload[1], 10);
    std::fill(label + first, label + first + 10, std::uint16_t{0});
    for (std::uint8_t i = 0; i < count; ++i) {
        label[first + i] = U16(payload + 2 + 2 * i);
    }
    DAT_image.labelLanguage[circuit - 1] = payload[22];
}

} // namespace

void DAT_InitDefaults(std::uint32_t localSeconds)
{
    DAT_image = DAT_Image{};
    st = State{};
    Set(DAT_image.counters, 0, {0x00, 0x32, 0xB0, 0x0C, 0x00, 0x00, 0x84, 0x03, 0x00, 0x00, 0x59, 0x01,
                                0x00, 0x00, 0x91, 0x08, 0x00, 0x00, 0x02, 0x7C, 0x15, 0x00, 0x00, 0x08});
    Set(DAT_image.solar, 0, {0xEC, 0x04, 0x00, 0x00, 0x58, 0x02, 0x00, 0x4E, 0x60, 0x00, 0x28, 0x63, 0x3C,
                             0x58, 0x1B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1E, 0x01, 0x00, 0x00});
    Set(DAT_image.service, 0, {0x42, 0x23, 0x08, 0xFF});
    Set(DAT_image.service, 13, {0x10});
    Set(DAT_image.service, 36, {0x4E, 0x33, 0x44, 0x0D, 0x59, 0x66, 0x41});
    Set(DAT_image.service, 45, {0x01, 0x08});
    Set(DAT_image.service, 51, {0x02});
    Set(DAT_image.displayTail, 0, {0x33, 0x14, 0x55, 0x05, 0x04, 0x05, 0x41});
    Set(DAT_image.circuit[0], 0, {0x00, 0x00, 0x28, 0xC4, 0x0F, 0x00, 0x32, 0x32, 0x3C, 0x14, 0x03, 0x14, 0x0E});
    Set(DAT_image.circuit[0], 23, {0x89, 0x0C, 0x8C, 0x00, 0x28});
    Set(DAT_image.circuit[1], 0, {0x00, 0x00, 0x28, 0x04, 0x4F, 0x00, 0x32, 0x32, 0x3C, 0x14, 0x03, 0x14, 0x04});
    Set(DAT_image.circuit[1], 23, {0x3A, 0x0C, 0x80, 0x00, 0x06});
    Set(DAT_image.solarHistory, 0, {0x88, 0x13, 0x00, 0x00, 0xA4, 0x06, 0x00, 0x00, 0xFC, 0x08, 0x00, 0x00});
    Set(DAT_image.solarHistory, 16, {0x58, 0x1B, 0x00, 0x00, 0x64, 0x19, 0x00, 0x00, 0xB8, 0x0B, 0x00, 0x00});
    Set(DAT_image.plant, 0, {0x00, 0x20, 0x06, 0x03, 0x01, 0x00, 0x14});
    Set(DAT_image.plant, 14, {0x03});
    Set(DAT_image.plant, 20, {0x01});
    Set(DAT_image.plant, 23, {0xC9, 0x55, 0xCB, 0x00, 0x00, 0x00, 0xA0});
    Set(DAT_image.system, 0, {0x03, 0x00, 0x66, 0x40, 0x1A, 0x00});
    PutU32(&DAT_image.system[6], localSeconds);
    Set(DAT_image.system, 10, {0x0A, 0x3C, 0x20, 0x3C, 0x62, 0x4D});
    Set(DAT_image.status, 0,
        {0x84, 0x00, 0x64, 0x66, 0x28, 0x00, 0x00, 0x43, 0x38, 0x41, 0xC5, 0x00, 0x38, 0x00, 0xF5});
    SetLabelText(1, "Erdgeschoss");
    SetLabelText(2, "Obergeschoss");
    st.previousWord = U16(DAT_image.status);
    st.previousByte7 = DAT_image.status[7];
    FillView(1, true);
}

bool DAT_StoreTelegram(const std::uint8_t* t, std::uint8_t length)
{
    std::uint8_t payload[DAT_PAYLOAD_MAX] = {};
    if (length > 2) {
        std::memcpy(payload, t + 2, std::min<std::size_t>(length - 2U, DAT_PAYLOAD_MAX));
    }
    const std::uint8_t type = t[0] >> 3;
    const std::uint8_t circuit = t[1];
    const bool perCircuit = circuit == 1 || circuit == 2;
    std::uint8_t* block = perCircuit ? DAT_image.circuit[circuit - 1] : nullptr;
    switch (type) {
    case 0:
        CopyInto(DAT_image.counters, 24, 0, payload, 0, 24);
        if (block != nullptr) {
            CopyInto(block, 28, 0, payload, 24, 3);
        }
        break;
    case 1:
        if (block != nullptr) {
            CopyInto(block, 28, 3, payload, 0, 20);
        }
        CopyInto(DAT_image.displayTail, 7, 0, payload, 20, 7);
        break;
    case 2:
        if (block != nullptr) {
            CopyInto(block, 28, 23, payload, 0, 5);
        }
        CopyInto(DAT_image.system, 21, 0, payload, 5, 21);
        break;
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
        if (!perCircuit) {
            return false;
        }
        for (std::uint8_t program = 0; program < 3; ++program) {
            std::memcpy(DAT_image.switching[circuit - 1][program][type - 3], payload + 8 * program, 8);
        }
        break;
    case 10: {
        const std::uint8_t before = DAT_CircuitCount();
        CopyInto(DAT_image.plant, 30, 0, payload, 0, 30);
        if (DAT_CircuitCount() != before) {
            SM_Post(DIS_Task, SIG_DIS_REFRESH_ALL, 0);
        }
        break;
    }
    case 13:
        CopyInto(DAT_image.messages, sizeof DAT_image.messages, 0, payload, 0, 30);
        break;
    case 14:
        CopyInto(DAT_image.messages2, sizeof DAT_image.messages2, 0, payload, 0, 30);
        break;
    case 15:
        CopyInto(DAT_image.service, sizeof DAT_image.service, 0, payload, 0, 30);
        break;
    case 16:
        CopyInto(DAT_image.participants, sizeof DAT_image.participants, 0, payload, 0, 30);
        break;
    case 17:
        CopyInto(DAT_image.solar, sizeof DAT_image.solar, 0, payload, 0, 30);
        break;
    case 18:
        CopyInto(DAT_image.extension, sizeof DAT_image.extension, 0, payload, 0, 30);
        break;
    case 22:
        StoreFaultPart(DAT_image.faults, payload);
        break;
    case 23:
        StoreFaultPart(DAT_image.history, payload);
        break;
    case 24:
        CopyInto(DAT_image.solarHistory, sizeof DAT_image.solarHistory, 0, payload, 0, 30);
        break;
    case 25:
        if (!perCircuit) {
            return false;
        }
        StoreLabelPart(circuit, payload);
        break;
    case 26:
        CopyInto(DAT_image.counters2, sizeof DAT_image.counters2, 0, payload, 0, 30);
        break;
    default:
        ++st.ignored;
        return false;
    }
    if (type <= 2 && (st.selected == 0 ? perCircuit : circuit == st.selected)) {
        DAT_RefreshView(st.selected == 0 ? circuit : st.selected);
    }
    return true;
}

std::uint32_t DAT_IgnoredTelegrams()
{
    return st.ignored;
}

void DAT_StoreStatus(const std::uint8_t* raw)
{
    std::uint8_t copy[DAT_STATUS_BLOCK_SIZE];
    std::memcpy(copy, raw, sizeof copy);
    // While a hold-off runs, its bit is stored as 0: the edge shows once it has run out.
    if (st.holdOff[0] > 0) {
        copy[0] = static_cast<std::uint8_t>(copy[0] & ~0x02);
    }
    if (st.holdOff[1] > 0) {
        copy[1] = static_cast<std::uint8_t>(copy[1] & ~0x40);
    }
    if (st.holdOff[2] > 0) {
        copy[7] = static_cast<std::uint8_t>(copy[7] & ~0x20);
    }
    __disable_interrupt();
    std::memcpy(DAT_image.status, copy, sizeof copy);
    __enable_interrupt();

    const std::uint16_t word = U16(copy);
    const auto rising = [&](std::uint16_t bit) { return (word & bit) != 0 && (st.previousWord & bit) == 0; };
    if ((word & DAT_SW_RESTART_3AM) != 0) {
        SM_Post(BED_Task, SIG_3UHR_RESTART, 0);
    }
    if ((word & DAT_SW_CONTROLLER_RESET) != 0) {
        SM_Post(BED_Task, SIG_REG_RESET, 0);
    }
    if (rising(DAT_SW_PARTICIPANT_WINK)) {
        SM_Post(BED_Task, SIG_PARTICIPANT_WINK, 0);
    }
    if (rising(DAT_SW_FAULT_MESSAGE)) {
        st.messageA = true;
    } else if ((word & DAT_SW_FAULT_MESSAGE) == 0) {
        st.messageA = false;
    }
    if (rising(DAT_SW_MAINTENANCE_MESSAGE)) {
        st.messageB = true;
    } else if ((word & DAT_SW_MAINTENANCE_MESSAGE) == 0) {
        st.messageB = false;
    }
    const bool bit5 = (copy[7] & 0x20) != 0;
    const bool bit5Before = (st.previousByte7 & 0x20) != 0;
    if (bit5 && !bit5Before) {
        SM_Post(BED_Task, SIG_STATUS_BIT_SET, 0);
    } else if (!bit5 && bit5Before) {
        SM_Post(BED_Task, SIG_STATUS_BIT_CLEAR, 0);
    }
    st.previousWord = word;
    st.previousByte7 = copy[7];
    if (st.selected == 1 || st.selected == 2) {
        std::memcpy(st.circuitStatus, &copy[st.selected == 1 ? 8 : 12], sizeof st.circuitStatus);
    }
    SM_Post(BED_Task, SIG_STATUS_UPDATED, 0);
}

void DAT_TickHoldOff()
{
    for (std::uint8_t& h : st.holdOff) {
        if (h > 0) {
            --h;
        }
    }
}

void DAT_SetHoldOff(std::uint8_t which, std::uint8_t seconds)
{
    if (which < 3) {
        st.holdOff[which] = seconds;
    }
}

bool DAT_FaultMessageFlag()
{
    return st.messageA;
}

bool DAT_MaintenanceMessageFlag()
{
    return st.messageB;
}

void DAT_ClearMessageFlags(bool fault, bool maintenance)
{
    st.messageA = st.messageA && !fault;
    st.messageB = st.messageB && !maintenance;
}

std::uint8_t DAT_StatusByte(std::uint8_t index)
{
    if (index >= DAT_STATUS_BLOCK_SIZE) {
        return 0;
    }
    __disable_interrupt();
    const std::uint8_t v = DAT_image.status[index];
    __enable_interrupt();
    return v;
}

// Written by the status telegram and the host's test buttons (other threads),
// read by the screens: always under the interrupt lock.
void DAT_SetStatusFlag(std::uint8_t index, std::uint8_t mask, bool on)
{
    if (index >= DAT_STATUS_BLOCK_SIZE) {
        return;
    }
    __disable_interrupt();
    std::uint8_t& b = DAT_image.status[index];
    b = static_cast<std::uint8_t>(on ? b | mask : b & ~mask);
    __enable_interrupt();
}

std::uint16_t DAT_StatusWord()
{
    return static_cast<std::uint16_t>(DAT_StatusByte(0) | DAT_StatusByte(1) << 8);
}

bool DAT_CircuitPresent(std::uint8_t circuit)
{
    return (circuit == 1 || circuit == 2) && KindOf(circuit) != 0;
}

std::uint8_t DAT_CircuitCount()
{
    const std::uint8_t n = static_cast<std::uint8_t>(DAT_CircuitPresent(1) + DAT_CircuitPresent(2));
    return n == 0 ? 1 : n;
}

std::uint8_t DAT_FirstCircuit()
{
    return DAT_CircuitPresent(1) ? 1 : DAT_CircuitPresent(2) ? 2 : 1;
}

std::uint8_t DAT_SelectedCircuit()
{
    return st.selected;
}

void DAT_SelectCircuit(std::uint8_t circuit)
{
    if (circuit >= 3) {
        SM_Post(BED_Task, SIG_BED_ERROR_RESET, kErrorCircuitGiven);
        return;
    }
    st.selected = circuit;
    if (circuit != 0) {
        FillView(circuit);
    }
}

void DAT_RefreshView(std::uint8_t circuit)
{
    if (circuit >= 3) {
        SM_Post(BED_Task, SIG_BED_ERROR_RESET, circuit == st.selected ? kErrorCircuitSelected : kErrorCircuitGiven);
        return;
    }
    if (circuit != 0) {
        FillView(circuit);
    }
}

const std::uint8_t* DAT_View()
{
    return st.view;
}

const std::uint8_t* DAT_CircuitStatus()
{
    return st.circuitStatus;
}

const DTM_Clock& DAT_HolidayDeparture()
{
    return st.departure;
}

const DTM_Clock& DAT_HolidayReturn()
{
    return st.returnDay;
}

bool DAT_HasSolar()
{
    return (DAT_image.plant[23] & 0x80) != 0;
}

bool DAT_HasHotWaterOption()
{
    return (DAT_image.plant[23] & 0x40) != 0;
}

int DAT_TempUnsigned(std::uint8_t raw)
{
    return (raw + 1) / 2;
}

int DAT_TempSigned(std::int8_t raw)
{
    return raw >= 0 ? (raw + 1) / 2 : (raw - 1) / 2;
}

bool DAT_Fahrenheit()
{
    return (DAT_StatusWord() & DAT_SW_FAHRENHEIT) != 0;
}

int DAT_ToFahrenheit(int c)
{
    return (c * 18 + (c < 0 ? -5 : 5)) / 10 + 32;
}

int DAT_FromFahrenheit(int f)
{
    const int d = (f - 32) * 10;
    return (d + (d < 0 ? -9 : 9)) / 18;
}

int DAT_BoilerTemperature()
{
    return DAT_TempUnsigned(DAT_StatusByte(2));
}

int DAT_HotWaterTemperature()
{
    return DAT_TempUnsigned(DAT_StatusByte(3));
}

int DAT_OutsideTemperature()
{
    return DAT_TempSigned(static_cast<std::int8_t>(DAT_StatusByte(6)));
}

int DAT_RoomTemperature()
{
    return DAT_TempSigned(static_cast<std::int8_t>(st.view[2]));
}

bool DAT_BurnerOn()
{
    return (DAT_StatusWord() & DAT_SW_BURNER_ON) != 0;
}

bool DAT_BurnerStage2()
{
    return (DAT_StatusWord() & DAT_SW_BURNER_STAGE2) != 0;
}

std::uint16_t DAT_ModeWord()
{
    return U16(&st.view[3]);
}

std::uint8_t DAT_OperatingProgram()
{
    return static_cast<std::uint8_t>(DAT_ModeWord() & 0x07);
}

void DAT_SetModeWord(std::uint16_t word)
{
    const std::uint8_t c = st.selected != 0 ? st.selected : DAT_FirstCircuit();
    DAT_image.circuit[c - 1][3] = static_cast<std::uint8_t>(word);
    DAT_image.circuit[c - 1][4] = static_cast<std::uint8_t>(word >> 8);
    st.view[3] = static_cast<std::uint8_t>(word);
    st.view[4] = static_cast<std::uint8_t>(word >> 8);
}

std::uint8_t DAT_Contrast()
{
    return DAT_image.system[4];
}

std::uint8_t DAT_GetLanguageByte()
{
    return DAT_image.system[5];
}

void DAT_SetLanguageByte(std::uint8_t language)
{
    DAT_image.system[5] = language;
}

std::uint32_t DAT_ControllerClock()
{
    return U32(&DAT_image.system[6]);
}

void DAT_SelectFault(bool history, std::uint8_t index)
{
    st.faultCursor[history ? 1 : 0] = index < DAT_FAULT_ENTRIES ? index : 0;
}

const std::uint8_t* DAT_Fault(bool history)
{
    const std::uint8_t i = st.faultCursor[history ? 1 : 0];
    return history ? DAT_image.history[i] : DAT_image.faults[i];
}

void DAT_SelectProgram(std::uint8_t program)
{
    st.program = program < 3 ? program : 0;
}

void DAT_SelectDay(std::uint8_t selector)
{
    st.day = selector;
}

std::uint8_t DAT_DayOfSelector(std::uint8_t selector)
{
    static constexpr std::uint8_t kDay[10] = {0, 0, 1, 2, 3, 4, 5, 6, 0, 5};
    return selector < 10 ? kDay[selector] : 0;
}

std::uint8_t* DAT_Phases()
{
    const std::uint8_t c = st.selected != 0 ? st.selected : DAT_FirstCircuit();
    return DAT_image.switching[c - 1][st.program][DAT_DayOfSelector(st.day)];
}

const std::uint16_t* DAT_Label(std::uint8_t circuit)
{
    return DAT_image.labels[circuit == 2 ? 1 : 0];
}

std::uint8_t DAT_LabelLanguage(std::uint8_t circuit)
{
    return DAT_image.labelLanguage[circuit == 2 ? 1 : 0];
}

void DAT_SetCircuitLabel(std::uint8_t circuit, const std::uint16_t* units, std::uint8_t count, std::uint8_t language)
{
    if (circuit != 1 && circuit != 2) {
        return;
    }
    std::uint16_t* label = DAT_image.labels[circuit - 1];
    std::fill(label, label + DAT_LABEL_UNITS, std::uint16_t{0});
    std::copy(units, units + std::min<std::uint8_t>(count, DAT_LABEL_UNITS), label);
    DAT_image.labelLanguage[circuit - 1] = language;
}

void DAT_GetCircuitLabel(std::uint8_t circuit, std::uint16_t (&units)[DAT_LABEL_UNITS], std::uint8_t& language)
{
    if (circuit != 1 && circuit != 2) {
        std::fill(std::begin(units), std::end(units), std::uint16_t{0});
        language = 0;
        return;
    }
    std::copy(std::begin(DAT_image.labels[circuit - 1]), std::end(DAT_image.labels[circuit - 1]), units);
    language = DAT_image.labelLanguage[circuit - 1];
}

std::uint16_t DAT_FaultAdvice(bool history)
{
    return U16(DAT_Fault(history) + 5);
}

std::uint32_t DAT_FaultTime(bool history)
{
    return U32(DAT_Fault(history) + 7);
}

bool DAT_FaultPresent()
{
    return (DAT_StatusByte(7) & 0x80) != 0;
}

bool DAT_FaultReported()
{
    return (DAT_StatusWord() & DAT_SW_FAULT_MESSAGE) != 0;
}

bool DAT_MaintenanceDue()
{
    return (DAT_StatusWord() & (1U << 10 | 1U << 11)) != 0;
}

bool DAT_BurnerControlLocked()
{
    return (DAT_StatusByte(7) & 0x20) != 0;
}

bool DAT_CalibrationActive()
{
    return (DAT_StatusByte(DAT_STATUS_CONTROLLER) & DAT_CTRL_CALIBRATION) != 0;
}

bool DAT_FaParametrisationActive()
{
    return (DAT_StatusByte(DAT_STATUS_CONTROLLER) & DAT_CTRL_FA_PARAMETRISATION) != 0;
}

bool DAT_FlueGasTestActive()
{
    return (DAT_StatusByte(7) & 0x10) != 0;
}

bool DAT_CommissioningRequested()
{
    return (DAT_image.service[1] & 0x20) != 0;
}

bool DAT_ClockMustBeSet()
{
    return (DAT_image.service[0] & 0x80) != 0;
}

bool DAT_SecondHotWaterBit()
{
    return (DAT_image.service[0] & 0x40) != 0;
}

bool DAT_FillingActive()
{
    return (DAT_image.service[13] & 0x40) != 0;
}

bool DAT_VentingActive()
{
    return (DAT_image.service[13] & 0x20) != 0;
}

void DAT_EndFilling()
{
    DAT_image.service[13] = static_cast<std::uint8_t>(DAT_image.service[13] & ~0x40);
}

void DAT_EndVenting()
{
    DAT_image.service[13] = static_cast<std::uint8_t>(DAT_image.service[13] & ~0x20);
}

void DAT_EndClockRequest()
{
    DAT_image.service[0] = static_cast<std::uint8_t>(DAT_image.service[0] & ~0x80);
}

bool DAT_HasSolarOption()
{
    return DAT_HasSolar() && DAT_image.solar[11] == 99;
}

std::uint8_t DAT_LockSetting()
{
    return static_cast<std::uint8_t>(DAT_image.plant[5] >> 4);
}

bool DAT_BoilerSensorFault()
{
    return (DAT_image.system[1] & 0x02) != 0;
}

std::uint8_t DAT_RoomSetTemperature()
{
    return st.view[9];
}

bool DAT_PartyOn()
{
    return (DAT_ModeWord() & 0x10) != 0;
}

bool DAT_EconomyOn()
{
    return (DAT_ModeWord() & 0x08) != 0;
}

void DAT_SetContrast(std::uint8_t contrast)
{
    DAT_image.system[4] = contrast;
}

std::uint8_t DAT_DisplayFlag()
{
    // Byte 2 of the display settings tail; anything but 0xAA counts as 0x55.
    return DAT_image.displayTail[2] == 0xAA ? 0xAA : 0x55;
}

void DAT_EndCommissioning()
{
    DAT_image.service[1] = static_cast<std::uint8_t>(DAT_image.service[1] & ~0x20U);
}
