#include "sim/PlantControl.h"

#include <algorithm>
#include <vector>

#include "sim/ControlUnit.h"
#include "sim/headless/Words.h"

namespace {

constexpr int kStatus = -1;
constexpr int kTypeCounters = 0; // also bytes 0..2 of the circuit blocks
constexpr int kTypeSystem = 2;
constexpr int kTypePlant = 10;
constexpr int kTypeService = 15;

// Status bytes of the circuits' pumps and the plant's internal pump.
constexpr std::uint8_t kPumpBit = 0x40;
constexpr std::uint8_t kCircuit1Pump = DAT_STATUS_CIRCUIT1 + 2;
constexpr std::uint8_t kCircuit2Pump = DAT_STATUS_CIRCUIT2 + 2;
constexpr std::uint8_t kCircuit2Flow = DAT_STATUS_CIRCUIT2;
constexpr std::uint8_t kFaultStatusBits = DAT_PLANT_FAULT;

// System block sensor flags: set while the sensor is faulty.
constexpr std::uint8_t kSensorOutdoor = 0x01;
constexpr std::uint8_t kSensorFlow = 0x40;
constexpr std::uint8_t kSensorHotWater = 0x80;

std::uint16_t Word(const DAT_Image& p)
{
    return static_cast<std::uint16_t>(p.status[0] | p.status[1] << 8);
}

void SetWord(DAT_Image& p, std::uint16_t bits, bool on)
{
    const std::uint16_t w = on ? Word(p) | bits : Word(p) & ~bits;
    p.status[0] = static_cast<std::uint8_t>(w);
    p.status[1] = static_cast<std::uint8_t>(w >> 8);
}

void SetBit(std::uint8_t& byte, std::uint8_t mask, bool on)
{
    byte = static_cast<std::uint8_t>(on ? byte | mask : byte & ~mask);
}

int Half(std::uint8_t raw)
{
    return (raw + 1) / 2;
}

int SignedHalf(std::uint8_t raw)
{
    return DAT_TempSigned(static_cast<std::int8_t>(raw));
}

std::uint8_t ToHalf(int celsius)
{
    return static_cast<std::uint8_t>(celsius * 2);
}

template <std::uint16_t Bits> constexpr PlantField WordFlag(const char* name, const char* label)
{
    return {name,
            label,
            PlantKind::Flag,
            0,
            1,
            [](const DAT_Image& p) { return (Word(p) & Bits) != 0 ? 1 : 0; },
            [](DAT_Image& p, int v) { SetWord(p, Bits, v != 0); },
            kStatus};
}

// A bit of a byte of one of the plant's blocks, told with `Type`'s telegram.
template <auto Block, std::uint8_t Byte, std::uint8_t Mask, int Type>
constexpr PlantField BitFlag(const char* name, const char* label)
{
    return {name,
            label,
            PlantKind::Flag,
            0,
            1,
            [](const DAT_Image& p) { return ((p.*Block)[Byte] & Mask) != 0 ? 1 : 0; },
            [](DAT_Image& p, int v) { SetBit((p.*Block)[Byte], Mask, v != 0); },
            Type};
}

template <std::uint8_t Byte, std::uint8_t Mask> constexpr PlantField StatusFlag(const char* name, const char* label)
{
    return BitFlag<&DAT_Image::status, Byte, Mask, kStatus>(name, label);
}

template <std::uint8_t Mask> constexpr PlantField SensorFault(const char* name, const char* label)
{
    return BitFlag<&DAT_Image::system, DAT_SYSTEM_SENSORS, Mask, kTypeSystem>(name, label);
}

template <std::uint8_t Mask> constexpr PlantField Remote(const char* name, const char* label)
{
    return BitFlag<&DAT_Image::system, DAT_SYSTEM_FLAGS, Mask, kTypeSystem>(name, label);
}

// The current fault stands in entry 0 of the list, with the status bits
// that make the panel report it; code 0 is no fault.
void SetFault(DAT_Image& p, int code)
{
    p.faults[0][0] = static_cast<std::uint8_t>(code);
    static constexpr std::uint8_t kNoTime[4] = {};
    std::copy_n(code != 0 ? &p.system[DAT_SYSTEM_CLOCK] : kNoTime, 4, &p.faults[0][DAT_FAULT_TIME]);
    SetWord(p, DAT_SW_FAULT_MESSAGE, code != 0);
    SetBit(p.status[DAT_STATUS_PLANT], kFaultStatusBits, code != 0);
}

// 0 none, 1 by burner hours, 2 by interval; either raises the maintenance message.
int Maintenance(const DAT_Image& p)
{
    const std::uint16_t w = Word(p);
    return (w & DAT_SW_MAINTENANCE_HOURS) != 0 ? 1 : (w & DAT_SW_MAINTENANCE_INTERVAL) != 0 ? 2 : 0;
}

void SetMaintenance(DAT_Image& p, int v)
{
    SetWord(p, DAT_SW_MAINTENANCE_HOURS | DAT_SW_MAINTENANCE_INTERVAL | DAT_SW_MAINTENANCE_MESSAGE, false);
    if (v != 0) {
        SetWord(p, (v == 1 ? DAT_SW_MAINTENANCE_HOURS : DAT_SW_MAINTENANCE_INTERVAL) | DAT_SW_MAINTENANCE_MESSAGE,
                true);
    }
}

int Circuits(const DAT_Image& p)
{
    const std::uint8_t o = p.plant[DAT_CFG_OPTIONS];
    return ((o & DAT_CFG_CIRCUIT1_KIND) != 0 ? 1 : 0) + ((o & DAT_CFG_CIRCUIT2_KIND) != 0 ? 1 : 0);
}

void SetCircuits(DAT_Image& p, int n)
{
    std::uint8_t& o = p.plant[DAT_CFG_OPTIONS];
    if ((o & DAT_CFG_CIRCUIT1_KIND) == 0) {
        o = static_cast<std::uint8_t>(o | 0x01);
    }
    if (n < 2) {
        o = static_cast<std::uint8_t>(o & ~DAT_CFG_CIRCUIT2_KIND);
    } else if ((o & DAT_CFG_CIRCUIT2_KIND) == 0) {
        o = static_cast<std::uint8_t>(o | 0x08);
    }
}

const PlantField kFields[] = {
    {"boiler", "Boiler temperature", PlantKind::Celsius, 0, 127,
     [](const DAT_Image& p) { return Half(p.status[DAT_STATUS_BOILER]); },
     [](DAT_Image& p, int v) { p.status[DAT_STATUS_BOILER] = ToHalf(v); }, kStatus},
    {"hot-water", "Hot-water temperature", PlantKind::Celsius, 0, 127,
     [](const DAT_Image& p) { return Half(p.status[DAT_STATUS_HOT_WATER]); },
     [](DAT_Image& p, int v) { p.status[DAT_STATUS_HOT_WATER] = ToHalf(v); }, kStatus},
    {"outdoor", "Outdoor temperature", PlantKind::Celsius, -64, 63,
     [](const DAT_Image& p) { return SignedHalf(p.status[DAT_STATUS_OUTSIDE]); },
     [](DAT_Image& p, int v) { p.status[DAT_STATUS_OUTSIDE] = ToHalf(v); }, kStatus},
    {"flow2", "Flow temperature, circuit 2", PlantKind::Celsius, 0, 127,
     [](const DAT_Image& p) { return Half(p.status[kCircuit2Flow]); },
     [](DAT_Image& p, int v) { p.status[kCircuit2Flow] = ToHalf(v); }, kStatus},
    {"room1", "Room temperature, circuit 1", PlantKind::Celsius, -64, 63,
     [](const DAT_Image& p) { return SignedHalf(p.circuit[0][DAT_CIRCUIT_ROOM]); },
     [](DAT_Image& p, int v) { p.circuit[0][DAT_CIRCUIT_ROOM] = ToHalf(v); }, kTypeCounters},
    {"room2", "Room temperature, circuit 2", PlantKind::Celsius, -64, 63,
     [](const DAT_Image& p) { return SignedHalf(p.circuit[1][DAT_CIRCUIT_ROOM]); },
     [](DAT_Image& p, int v) { p.circuit[1][DAT_CIRCUIT_ROOM] = ToHalf(v); }, kTypeCounters},
    SensorFault<kSensorOutdoor>("sensor-outdoor", "Outdoor sensor faulty"),
    SensorFault<DAT_SENSOR_BOILER>("sensor-boiler", "Boiler sensor faulty"),
    SensorFault<kSensorFlow>("sensor-flow", "Flow sensor faulty"),
    SensorFault<kSensorHotWater>("sensor-hot-water", "Hot-water sensor faulty"),
    {"burner", "Burner", PlantKind::Choice, 0, 2,
     [](const DAT_Image& p) {
         return (Word(p) & DAT_SW_BURNER_STAGE2) != 0 ? 2 : (Word(p) & DAT_SW_BURNER_ON) != 0 ? 1 : 0;
     },
     [](DAT_Image& p, int v) {
         SetWord(p, DAT_SW_BURNER_ON, v != 0);
         SetWord(p, DAT_SW_BURNER_STAGE2, v == 2);
     },
     kStatus, "off|stage 1|stage 2"},
    WordFlag<DAT_SW_STORAGE_PUMP>("storage-pump", "Storage charging pump"),
    WordFlag<DAT_SW_CIRCULATION_PUMP>("circulation-pump", "Circulation pump"),
    StatusFlag<DAT_STATUS_PLANT, kPumpBit>("internal-pump", "Internal pump"),
    StatusFlag<kCircuit1Pump, kPumpBit>("circuit1-pump", "Circuit 1 pump"),
    StatusFlag<kCircuit2Pump, kPumpBit>("circuit2-pump", "Circuit 2 pump"),
    WordFlag<DAT_SW_FLOW_SWITCH>("flow-switch", "Flow switch"),
    {"fault", "Fault code", PlantKind::Number, 0, 255, [](const DAT_Image& p) { return int{p.faults[0][0]}; }, SetFault,
     kStatus},
    {"fault-component", "Fault component", PlantKind::Number, 0, 255,
     [](const DAT_Image& p) { return int{p.faults[0][1]}; },
     [](DAT_Image& p, int v) { p.faults[0][1] = static_cast<std::uint8_t>(v); }, kStatus},
    {"maintenance", "Maintenance due", PlantKind::Choice, 0, 2, Maintenance, SetMaintenance, kStatus,
     "no|by burner hours|by interval"},
    StatusFlag<DAT_STATUS_CONTROLLER, DAT_CTRL_CALIBRATION>("calibration", "Calibration"),
    StatusFlag<DAT_STATUS_CONTROLLER, DAT_CTRL_FA_PARAMETRISATION>("parametrisation", "Burner control parametrisation"),
    StatusFlag<DAT_STATUS_PLANT, DAT_PLANT_BURNER_LOCKED>("lock-out", "Burner control locked out"),
    StatusFlag<DAT_STATUS_PLANT, DAT_PLANT_FLUE_GAS_TEST>("flue-gas-test", "Flue-gas test"),
    StatusFlag<DAT_STATUS_CONTROLLER, DAT_CTRL_ACTOR_TEST>("actor-test", "Actor test"),
    {"plant-state", "Plant state", PlantKind::Number, 0, 15,
     [](const DAT_Image& p) { return p.status[DAT_STATUS_PLANT] & DAT_PLANT_STATE; },
     [](DAT_Image& p, int v) {
         p.status[DAT_STATUS_PLANT] = static_cast<std::uint8_t>((p.status[DAT_STATUS_PLANT] & ~DAT_PLANT_STATE) | v);
     },
     kStatus},
    {"circuits", "Heating circuits", PlantKind::Number, 1, 2, Circuits, SetCircuits, kTypePlant},
    Remote<DAT_SYS0_REMOTE_CIRCUIT1>("remote1", "Remote control, circuit 1"),
    Remote<DAT_SYS0_REMOTE_CIRCUIT2>("remote2", "Remote control, circuit 2"),
    WordFlag<DAT_SW_FAHRENHEIT>("fahrenheit", "Degrees Fahrenheit"),
    WordFlag<DAT_SW_RADIO_CLOCK>("radio-clock", "Radio clock signal"),
    BitFlag<&DAT_Image::service, DAT_SERVICE_REQUESTS, DAT_SVC1_COMMISSIONING, kTypeService>("commissioning",
                                                                                             "Commissioning requested"),
};

} // namespace

std::span<const PlantField> PlantFields()
{
    return kFields;
}

const PlantField* PlantFieldNamed(std::string_view name)
{
    for (const PlantField& f : kFields) {
        if (name == f.name) {
            return &f;
        }
    }
    return nullptr;
}

std::optional<int> PlantValueOf(const PlantField& field, const std::string& text)
{
    const bool negative = !text.empty() && text[0] == '-' && field.min < 0;
    const std::string digits = negative ? text.substr(1) : text;
    const bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    const auto n = hex ? WholeNumber(digits.substr(2), 16, 255) : WholeNumber(digits, 10, 255);
    if (!n) {
        return std::nullopt;
    }
    const int v = negative ? -static_cast<int>(*n) : static_cast<int>(*n);
    if (v < field.min || v > field.max) {
        return std::nullopt;
    }
    return v;
}

void PlantSendStatus(ControlUnit& unit)
{
    const DAT_Image& p = unit.model();
    unit.sendStatus(std::vector<std::uint8_t>(std::begin(p.status), std::end(p.status)));
}

void PlantSet(ControlUnit& unit, const PlantField& field, int value)
{
    field.set(unit.model(), value);
    if (field.type < 0) {
        PlantSendStatus(unit);
    } else {
        unit.announce(static_cast<std::uint16_t>(1U << field.type));
    }
}
