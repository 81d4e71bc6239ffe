// Operating data image: blocks, defaults, received telegrams, status edges.
#include "data/DAT.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <span>

#include "core/SM.h"
#include "data/DAT_Telegrams.h"
#include "hal/HAL.h"

DAT_Image DAT_image;

namespace {

constexpr std::uint8_t kErrorCircuitGiven = 133;
constexpr std::uint8_t kNoList = 0xFF; // no list being put together

struct State {
    std::uint8_t selected = 0;
    std::uint16_t previousWord = 0;
    std::uint8_t previousPlant = 0;
    std::uint8_t holdOff[3] = {0, 0, 0};
    bool messageA = false;
    bool messageB = false;
    std::uint8_t faultCursor[2] = {0, 0};
    // A fault list is put together part by part and reaches the image only
    // whole: a list never shows parts of two different answers.
    std::uint8_t nextPart[2] = {kNoList, kNoList};
    std::uint8_t assembly[2][DAT_FAULT_ENTRIES * DAT_FAULT_SIZE] = {};
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

bool Has(std::uint8_t byte, std::uint8_t mask)
{
    return (byte & mask) != 0;
}

std::uint8_t KindOf(std::uint8_t circuit)
{
    return DAT_image.plant[DAT_CFG_OPTIONS] & (circuit == 1 ? DAT_CFG_CIRCUIT1_KIND : DAT_CFG_CIRCUIT2_KIND);
}

std::uint8_t* Current()
{
    return DAT_image.circuit[DAT_CurrentCircuit() - 1];
}

void StorePieces(const DAT_Layout& layout, std::uint8_t circuit, const std::uint8_t* payload)
{
    for (std::uint8_t i = 0; i < layout.pieces; ++i) {
        const DAT_Piece& p = layout.piece[i];
        std::memcpy(DAT_BlockBytes(DAT_image, p.block, circuit).data() + p.at, payload + p.from, p.length);
    }
}

// Parts 0..4 must come in order; part 0 always starts afresh. A part out of
// order drops what was gathered; a part that never comes leaves the image
// with the last whole list.
bool StoreFaultPart(const DAT_Piece& p, const std::uint8_t* payload)
{
    const std::uint8_t part = payload[0];
    if (part >= DAT_FAULT_PARTS) {
        return false;
    }
    const std::size_t which = p.block == DAT_Block::History ? 1 : 0;
    std::uint8_t* gathered = st.assembly[which];
    if (part == 0) {
        std::fill(gathered, gathered + sizeof st.assembly[which], std::uint8_t{0});
        st.nextPart[which] = 0;
    }
    if (part != st.nextPart[which]) {
        st.nextPart[which] = kNoList;
        return false;
    }
    std::memcpy(gathered + p.at + part * p.length, payload + p.from, p.length);
    st.nextPart[which] = static_cast<std::uint8_t>(part + 1);
    if (part == DAT_FAULT_PARTS - 1) {
        const std::span<std::uint8_t> list = DAT_BlockBytes(DAT_image, p.block, 0);
        std::copy(gathered, gathered + list.size(), list.begin());
        st.nextPart[which] = kNoList;
    }
    return true;
}

void StoreLabelPart(const DAT_Piece& p, std::uint8_t circuit, const std::uint8_t* payload)
{
    constexpr std::uint8_t kUnits = DAT_LABEL_UNITS / 2;
    std::uint16_t* label = DAT_image.labels[circuit - 1];
    const std::size_t first = payload[0] == 1 ? 0 : kUnits;
    // At most ten units, whatever the count says: the part has room for ten.
    const std::uint8_t count = std::min<std::uint8_t>(payload[1], kUnits);
    std::fill(label + first, label + first + kUnits, std::uint16_t{0});
    for (std::uint8_t i = 0; i < count; ++i) {
        label[first + i] = U16(payload + p.from + 2 * i);
    }
    DAT_image.labelLanguage[circuit - 1] = payload[p.from + p.length];
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
    PutU32(&DAT_image.system[DAT_SYSTEM_CLOCK], localSeconds);
    Set(DAT_image.system, 10, {0x0A, 0x3C, 0x20, 0x3C, 0x62, 0x4D});
    Set(DAT_image.status, 0,
        {0x84, 0x00, 0x64, 0x66, 0x28, 0x00, 0x00, 0x43, 0x38, 0x41, 0xC5, 0x00, 0x38, 0x00, 0xF5});
    SetLabelText(1, "Erdgeschoss");
    SetLabelText(2, "Obergeschoss");
    st.previousWord = U16(DAT_image.status);
    st.previousPlant = DAT_image.status[DAT_STATUS_PLANT];
}

bool DAT_StoreTelegram(const std::uint8_t* t, std::uint8_t length)
{
    std::uint8_t payload[DAT_PAYLOAD_MAX] = {};
    if (length > 2) {
        std::memcpy(payload, t + 2, std::min<std::size_t>(length - 2U, DAT_PAYLOAD_MAX));
    }
    const std::uint8_t type = t[0] >> 3;
    const std::uint8_t circuit = t[1];
    const DAT_Layout& layout = DAT_LayoutOf(type);
    if (layout.form == DAT_Form::None) {
        ++st.ignored;
        return false;
    }
    if (circuit > 2 || (circuit == 0 && DAT_TelegramPerCircuit(type))) {
        return false;
    }
    switch (layout.form) {
    case DAT_Form::Plain: {
        const std::uint8_t before = DAT_CircuitCount();
        StorePieces(layout, circuit, payload);
        if (type == DAT_TYPE_PLANT && DAT_CircuitCount() != before) {
            SM_Post(DIS_Task, SIG_DIS_REFRESH_ALL, 0);
        }
        return true;
    }
    case DAT_Form::FaultPart:
        return StoreFaultPart(layout.piece[0], payload);
    case DAT_Form::LabelPart:
        StoreLabelPart(layout.piece[0], circuit, payload);
        return true;
    case DAT_Form::None:
        break;
    }
    return false;
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
    std::uint16_t word = U16(copy);
    if (st.holdOff[DAT_HOLD_FAULT_MESSAGE] > 0) {
        word &= static_cast<std::uint16_t>(~DAT_SW_FAULT_MESSAGE);
    }
    if (st.holdOff[DAT_HOLD_MAINTENANCE_MESSAGE] > 0) {
        word &= static_cast<std::uint16_t>(~DAT_SW_MAINTENANCE_MESSAGE);
    }
    copy[0] = static_cast<std::uint8_t>(word);
    copy[1] = static_cast<std::uint8_t>(word >> 8);
    std::uint8_t& plant = copy[DAT_STATUS_PLANT];
    if (st.holdOff[DAT_HOLD_BURNER_LOCKED] > 0) {
        plant = static_cast<std::uint8_t>(plant & ~DAT_PLANT_BURNER_LOCKED);
    }
    __disable_interrupt();
    std::memcpy(DAT_image.status, copy, sizeof copy);
    __enable_interrupt();

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
    const bool locked = Has(plant, DAT_PLANT_BURNER_LOCKED);
    const bool lockedBefore = Has(st.previousPlant, DAT_PLANT_BURNER_LOCKED);
    if (locked && !lockedBefore) {
        SM_Post(BED_Task, SIG_STATUS_BIT_SET, 0);
    } else if (!locked && lockedBefore) {
        SM_Post(BED_Task, SIG_STATUS_BIT_CLEAR, 0);
    }
    st.previousWord = word;
    st.previousPlant = plant;
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
    __disable_interrupt();
    const std::uint16_t word = U16(DAT_image.status);
    __enable_interrupt();
    return word;
}

void DAT_SetStatusWordFlag(std::uint16_t bits, bool on)
{
    DAT_SetStatusFlag(0, static_cast<std::uint8_t>(bits), on);
    DAT_SetStatusFlag(1, static_cast<std::uint8_t>(bits >> 8), on);
}

std::uint8_t DAT_PlantState()
{
    return DAT_StatusByte(DAT_STATUS_PLANT) & DAT_PLANT_STATE;
}

std::uint8_t DAT_CircuitStatusByte(std::uint8_t index)
{
    if (index >= DAT_STATUS_GROUP_SIZE) {
        return 0;
    }
    const std::uint8_t group = DAT_CurrentCircuit() == 1 ? DAT_STATUS_CIRCUIT1 : DAT_STATUS_CIRCUIT2;
    return DAT_StatusByte(static_cast<std::uint8_t>(group + index));
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
}

std::uint8_t DAT_CurrentCircuit()
{
    return st.selected != 0 ? st.selected : DAT_FirstCircuit();
}

const std::uint8_t* DAT_View()
{
    return Current();
}

DTM_Clock DAT_HolidayDeparture()
{
    return DTM_SecondsToRecord(U32(Current() + DAT_CIRCUIT_DEPARTURE));
}

DTM_Clock DAT_HolidayReturn()
{
    return DTM_SecondsToRecord(U32(Current() + DAT_CIRCUIT_RETURN));
}

void DAT_SetHolidayDeparture(std::uint32_t seconds)
{
    PutU32(Current() + DAT_CIRCUIT_DEPARTURE, seconds);
}

void DAT_SetHolidayReturn(std::uint32_t seconds)
{
    PutU32(Current() + DAT_CIRCUIT_RETURN, seconds);
}

bool DAT_HasSolar()
{
    return Has(DAT_image.plant[DAT_CFG_OPTIONS], DAT_CFG_SOLAR);
}

bool DAT_HasHotWaterOption()
{
    return Has(DAT_image.plant[DAT_CFG_OPTIONS], DAT_CFG_HOT_WATER_OPTION);
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
    return DAT_TempUnsigned(DAT_StatusByte(DAT_STATUS_BOILER));
}

int DAT_HotWaterTemperature()
{
    return DAT_TempUnsigned(DAT_StatusByte(DAT_STATUS_HOT_WATER));
}

int DAT_OutsideTemperature()
{
    return DAT_TempSigned(static_cast<std::int8_t>(DAT_StatusByte(DAT_STATUS_OUTSIDE)));
}

int DAT_RoomTemperature()
{
    return DAT_TempSigned(static_cast<std::int8_t>(Current()[DAT_CIRCUIT_ROOM]));
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
    return U16(Current() + DAT_CIRCUIT_MODE);
}

std::uint8_t DAT_OperatingProgram()
{
    return static_cast<std::uint8_t>(DAT_ModeWord() & DAT_MODE_PROGRAM);
}

void DAT_SetModeWord(std::uint16_t word)
{
    Current()[DAT_CIRCUIT_MODE] = static_cast<std::uint8_t>(word);
    Current()[DAT_CIRCUIT_MODE + 1] = static_cast<std::uint8_t>(word >> 8);
}

std::uint8_t DAT_Contrast()
{
    return DAT_image.system[DAT_SYSTEM_CONTRAST];
}

std::uint8_t DAT_GetLanguageByte()
{
    return DAT_image.system[DAT_SYSTEM_LANGUAGE];
}

void DAT_SetLanguageByte(std::uint8_t language)
{
    DAT_image.system[DAT_SYSTEM_LANGUAGE] = language;
}

std::uint32_t DAT_ControllerClock()
{
    return U32(&DAT_image.system[DAT_SYSTEM_CLOCK]);
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
    return DAT_image.switching[DAT_CurrentCircuit() - 1][st.program][DAT_DayOfSelector(st.day)];
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
    return U16(DAT_Fault(history) + DAT_FAULT_ADVICE);
}

std::uint32_t DAT_FaultTime(bool history)
{
    return U32(DAT_Fault(history) + DAT_FAULT_TIME);
}

bool DAT_FaultPresent()
{
    return Has(DAT_StatusByte(DAT_STATUS_PLANT), DAT_PLANT_FAULT);
}

bool DAT_FaultReported()
{
    return (DAT_StatusWord() & DAT_SW_FAULT_MESSAGE) != 0;
}

bool DAT_MaintenanceDue()
{
    return (DAT_StatusWord() & (DAT_SW_MAINTENANCE_HOURS | DAT_SW_MAINTENANCE_INTERVAL)) != 0;
}

bool DAT_BurnerControlLocked()
{
    return Has(DAT_StatusByte(DAT_STATUS_PLANT), DAT_PLANT_BURNER_LOCKED);
}

bool DAT_CalibrationActive()
{
    return Has(DAT_StatusByte(DAT_STATUS_CONTROLLER), DAT_CTRL_CALIBRATION);
}

bool DAT_FaParametrisationActive()
{
    return Has(DAT_StatusByte(DAT_STATUS_CONTROLLER), DAT_CTRL_FA_PARAMETRISATION);
}

bool DAT_FlueGasTestActive()
{
    return Has(DAT_StatusByte(DAT_STATUS_PLANT), DAT_PLANT_FLUE_GAS_TEST);
}

bool DAT_CommissioningRequested()
{
    return Has(DAT_image.service[DAT_SERVICE_REQUESTS], DAT_SVC1_COMMISSIONING);
}

bool DAT_ClockMustBeSet()
{
    return Has(DAT_image.service[DAT_SERVICE_FLAGS], DAT_SVC0_CLOCK_NOT_SET);
}

bool DAT_SecondHotWaterBit()
{
    return Has(DAT_image.service[DAT_SERVICE_FLAGS], DAT_SVC0_SECOND_HOT_WATER);
}

bool DAT_FillingActive()
{
    return Has(DAT_image.service[DAT_SERVICE_FUNCTIONS], DAT_SVC13_FILLING);
}

bool DAT_VentingActive()
{
    return Has(DAT_image.service[DAT_SERVICE_FUNCTIONS], DAT_SVC13_VENTING);
}

void DAT_EndFilling()
{
    DAT_image.service[DAT_SERVICE_FUNCTIONS] &= static_cast<std::uint8_t>(~DAT_SVC13_FILLING);
}

void DAT_EndVenting()
{
    DAT_image.service[DAT_SERVICE_FUNCTIONS] &= static_cast<std::uint8_t>(~DAT_SVC13_VENTING);
}

void DAT_EndClockRequest()
{
    DAT_image.service[DAT_SERVICE_FLAGS] &= static_cast<std::uint8_t>(~DAT_SVC0_CLOCK_NOT_SET);
}

bool DAT_HasSolarOption()
{
    return DAT_HasSolar() && DAT_image.solar[DAT_SOLAR_OPTION] == DAT_SOLAR_OPTION_FITTED;
}

std::uint32_t DAT_SolarYield(std::uint8_t day)
{
    constexpr std::uint8_t kToday = 13;
    if (day == 0) {
        return U32(&DAT_image.solar[kToday]);
    }
    return day <= 7 ? U32(&DAT_image.solarHistory[4 * (day - 1)]) : 0;
}

bool DAT_SensorFault(std::uint8_t mask)
{
    return Has(DAT_image.system[DAT_SYSTEM_SENSORS], mask);
}

int DAT_CircuitRoomTemperature(std::uint8_t circuit)
{
    return DAT_TempSigned(static_cast<std::int8_t>(DAT_image.circuit[circuit == 2 ? 1 : 0][DAT_CIRCUIT_ROOM]));
}

bool DAT_CircuitPumpOn(std::uint8_t circuit)
{
    constexpr std::uint8_t kPumpByte = 2;
    constexpr std::uint8_t kPump = 0x40;
    const std::uint8_t group = circuit == 2 ? DAT_STATUS_CIRCUIT2 : DAT_STATUS_CIRCUIT1;
    return Has(DAT_StatusByte(static_cast<std::uint8_t>(group + kPumpByte)), kPump);
}

int DAT_Circuit2FlowTemperature()
{
    return DAT_TempUnsigned(DAT_StatusByte(DAT_STATUS_CIRCUIT2));
}

bool DAT_StoragePumpOn()
{
    return (DAT_StatusWord() & DAT_SW_STORAGE_PUMP) != 0;
}

bool DAT_CirculationPumpOn()
{
    return (DAT_StatusWord() & DAT_SW_CIRCULATION_PUMP) != 0;
}

std::uint32_t DAT_SolarEnergy()
{
    return U32(&DAT_image.solar[0]);
}

std::uint8_t DAT_SolarFlags()
{
    return DAT_image.solar[7];
}

int DAT_CollectorTemperature()
{
    // A signed u16 of half kelvins, rounded half away from zero.
    const auto raw = static_cast<std::int16_t>(DAT_image.solar[8] | DAT_image.solar[9] << 8);
    return raw >= 0 ? (raw + 1) / 2 : -((-raw + 1) / 2);
}

int DAT_SolarHotWaterTemperature()
{
    return DAT_TempUnsigned(DAT_image.solar[10]);
}

std::uint8_t DAT_SolarPumpSpeed()
{
    return DAT_image.solar[12];
}

std::uint8_t DAT_LockSetting()
{
    return static_cast<std::uint8_t>(DAT_image.plant[DAT_CFG_LOCK] >> 4);
}

bool DAT_BoilerSensorFault()
{
    return Has(DAT_image.system[DAT_SYSTEM_SENSORS], DAT_SENSOR_BOILER);
}

std::uint8_t DAT_RoomSetTemperature()
{
    return Current()[DAT_CIRCUIT_ROOM_SET];
}

bool DAT_PartyOn()
{
    return (DAT_ModeWord() & DAT_MODE_PARTY) != 0;
}

bool DAT_EconomyOn()
{
    return (DAT_ModeWord() & DAT_MODE_ECONOMY) != 0;
}

std::uint8_t DAT_CircuitByte(std::uint8_t offset)
{
    return offset < sizeof DAT_image.circuit[0] ? Current()[offset] : 0;
}

void DAT_SetCircuitByte(std::uint8_t offset, std::uint8_t value)
{
    if (offset < sizeof DAT_image.circuit[0]) {
        Current()[offset] = value;
    }
}

bool DAT_RemoteControl(std::uint8_t circuit)
{
    return Has(DAT_image.system[DAT_SYSTEM_FLAGS], circuit == 2 ? DAT_SYS0_REMOTE_CIRCUIT2 : DAT_SYS0_REMOTE_CIRCUIT1);
}

bool DAT_HasCirculationPump()
{
    return Has(DAT_image.plant[DAT_CFG_HOT_WATER], DAT_CFG_CIRCULATION_PUMP);
}

bool DAT_HotWaterSetAtPanel()
{
    return Has(DAT_image.plant[DAT_CFG_HOT_WATER], DAT_CFG_HOT_WATER_SET_AT_PANEL);
}

void DAT_SetContrast(std::uint8_t contrast)
{
    DAT_image.system[DAT_SYSTEM_CONTRAST] = contrast;
}

std::uint8_t DAT_DisplayFlag()
{
    // Anything but 0xAA counts as 0x55.
    return DAT_image.displayTail[DAT_TAIL_DISPLAY_FLAG] == 0xAA ? 0xAA : 0x55;
}

void DAT_EndCommissioning()
{
    DAT_image.service[DAT_SERVICE_REQUESTS] &= static_cast<std::uint8_t>(~DAT_SVC1_COMMISSIONING);
}

namespace {

enum class Block : std::uint8_t {
    Counters,
    Counters2,
    Status,
    Service,
    Solar,
    Plant,
    Messages,
    Extension,
    Circuit,
    Group
};
enum class Width : std::uint8_t { U8, I8, U16, I16, U32, Bit };

struct FieldAt {
    Block block;
    std::uint8_t offset;
    Width width;
    std::uint8_t mask; // of a bit, or of a bit field (shifted down)
};

// In the order of DAT_Field.
constexpr FieldAt kFields[] = {
    {Block::Counters, 0, Width::I8, 0},     {Block::Messages, 0, Width::U8, 0},
    {Block::Messages, 1, Width::U8, 0},     {Block::Messages, 2, Width::U8, 0},
    {Block::Counters, 2, Width::U32, 0},    {Block::Counters, 6, Width::U32, 0},
    {Block::Counters, 10, Width::U32, 0},   {Block::Counters, 14, Width::U32, 0},
    {Block::Plant, 6, Width::U8, 0},        {Block::Service, 38, Width::U8, 0},
    {Block::Status, 7, Width::Bit, 0x40},   {Block::Service, 13, Width::Bit, 0x01},
    {Block::Service, 13, Width::Bit, 0x10}, {Block::Service, 2, Width::U8, 0},
    {Block::Service, 1, Width::Bit, 0x04},  {Block::Service, 1, Width::Bit, 0x08},
    {Block::Service, 43, Width::U8, 0},     {Block::Status, 0, Width::Bit, 0x01},
    {Block::Status, 0, Width::Bit, 0x04},   {Block::Status, 0, Width::Bit, 0x10},
    {Block::Status, 0, Width::Bit, 0x20},   {Block::Status, 0, Width::Bit, 0x40},
    {Block::Status, 0, Width::Bit, 0x80},   {Block::Circuit, 9, Width::U8, 0},
    {Block::Circuit, 2, Width::I8, 0},      {Block::Circuit, 10, Width::U8, 0},
    {Block::Circuit, 24, Width::U8, 0},     {Block::Circuit, 6, Width::U8, 0},
    {Block::Group, 2, Width::Bit, 0x40},    {Block::Group, 2, Width::Bit, 0x30},
    {Block::Extension, 0, Width::U8, 0},    {Block::Status, 12, Width::U8, 0},
    {Block::Extension, 1, Width::U8, 0},    {Block::Extension, 2, Width::U8, 0},
    {Block::Solar, 8, Width::I16, 0},       {Block::Solar, 10, Width::U8, 0},
    {Block::Solar, 4, Width::U16, 0},       {Block::Solar, 0, Width::U32, 0},
    {Block::Solar, 21, Width::U32, 0},      {Block::Solar, 17, Width::U32, 0},
    {Block::Counters2, 0, Width::U32, 0},   {Block::Counters2, 4, Width::U32, 0},
    {Block::Solar, 7, Width::Bit, 0x01},    {Block::Solar, 12, Width::U8, 0},
    {Block::Solar, 7, Width::Bit, 0x02},    {Block::Status, 6, Width::I8, 0},
    {Block::Status, 2, Width::U8, 0},       {Block::Status, 3, Width::U8, 0},
};
static_assert(std::size(kFields) == static_cast<std::size_t>(DAT_Field::Count));

const std::uint8_t* BlockOf(Block b)
{
    switch (b) {
    case Block::Counters:
        return DAT_image.counters;
    case Block::Counters2:
        return DAT_image.counters2;
    case Block::Status:
        return DAT_image.status;
    case Block::Service:
        return DAT_image.service;
    case Block::Solar:
        return DAT_image.solar;
    case Block::Plant:
        return DAT_image.plant;
    case Block::Messages:
        return DAT_image.messages;
    case Block::Extension:
        return DAT_image.extension;
    case Block::Circuit:
        return DAT_View();
    case Block::Group:
        return DAT_image.status + (DAT_CurrentCircuit() == 2 ? DAT_STATUS_CIRCUIT2 : DAT_STATUS_CIRCUIT1);
    }
    return DAT_image.status;
}

} // namespace

std::int32_t DAT_Read(DAT_Field field)
{
    const auto i = static_cast<std::size_t>(field);
    if (i >= std::size(kFields)) {
        return 0;
    }
    const FieldAt& f = kFields[i];
    std::uint8_t raw[4] = {};
    const std::uint8_t size = f.width == Width::U32 ? 4 : f.width == Width::U16 || f.width == Width::I16 ? 2 : 1;
    {
        // The status block is written from interrupts.
        const bool status = f.block == Block::Status || f.block == Block::Group;
        if (status) {
            __disable_interrupt();
        }
        std::memcpy(raw, BlockOf(f.block) + f.offset, size);
        if (status) {
            __enable_interrupt();
        }
    }
    const std::uint32_t u = raw[0] | raw[1] << 8 | raw[2] << 16 | static_cast<std::uint32_t>(raw[3]) << 24;
    switch (f.width) {
    case Width::I8:
        return static_cast<std::int8_t>(raw[0]);
    case Width::I16:
        return static_cast<std::int16_t>(u);
    case Width::U32:
        return static_cast<std::int32_t>(u & 0x7FFFFFFF); // counters never reach the sign
    case Width::Bit: {
        std::uint8_t v = raw[0] & f.mask;
        for (std::uint8_t m = f.mask; m != 0 && (m & 1) == 0; m >>= 1) {
            v >>= 1;
        }
        return v;
    }
    default:
        return static_cast<std::int32_t>(u);
    }
}

bool DAT_SensorPresent(DAT_Field field)
{
    const bool two = DAT_CurrentCircuit() == 2;
    const std::uint8_t circuitSensors = DAT_View()[25];
    switch (field) {
    case DAT_Field::Boiler:
        return (DAT_image.system[DAT_SYSTEM_SENSORS] & DAT_SENSOR_BOILER) == 0;
    case DAT_Field::CommonFlow:
        return (DAT_image.system[DAT_SYSTEM_SENSORS] & 0x40) == 0;
    case DAT_Field::OutsideDamped:
    case DAT_Field::Outside:
        return (DAT_image.system[DAT_SYSTEM_SENSORS] & 0x01) == 0;
    case DAT_Field::RoomActual:
        return (circuitSensors & (two ? 0x01 : 0x80)) == 0;
    case DAT_Field::Return2:
        return (circuitSensors & (two ? 0x20 : 0x10)) == 0;
    case DAT_Field::Flow2:
        return !two || (circuitSensors & 0x04) == 0;
    case DAT_Field::HotWater:
        return (DAT_image.system[DAT_SYSTEM_SENSORS] & 0x80) == 0;
    case DAT_Field::Collector:
        return (DAT_image.solar[7] & 0x20) == 0;
    case DAT_Field::SolarHotWater:
        return (DAT_image.solar[7] & 0x80) == 0;
    default:
        return true;
    }
}

void DAT_PowerOn()
{
    DAT_image = DAT_Image{};
    st = State{};
}
