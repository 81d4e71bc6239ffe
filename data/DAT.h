// Operating data image: the control unit's data as the panel keeps it, one
// block per telegram type, read by the screens through small accessors.
#pragma once

#include <cstdint>

#include "core/DTM.h"

inline constexpr std::uint8_t DAT_STATUS_BLOCK_SIZE = 20;
inline constexpr std::uint8_t DAT_PAYLOAD_MAX = 30; // bytes 2..31 of a data telegram
inline constexpr std::uint8_t DAT_FAULT_ENTRIES = 10;
inline constexpr std::uint8_t DAT_FAULT_SIZE = 11;
inline constexpr std::uint8_t DAT_LABEL_UNITS = 20;

// Status block: bytes of the status telegram.
inline constexpr std::uint8_t DAT_STATUS_BOILER = 2;     // boiler temperature, 0.5 K
inline constexpr std::uint8_t DAT_STATUS_HOT_WATER = 3;  // hot-water temperature, 0.5 K
inline constexpr std::uint8_t DAT_STATUS_CONTROLLER = 5; // the controller's status flags
inline constexpr std::uint8_t DAT_STATUS_OUTSIDE = 6;    // outside temperature, i8, 0.5 K
inline constexpr std::uint8_t DAT_STATUS_PLANT = 7;      // plant state and flags
inline constexpr std::uint8_t DAT_STATUS_CIRCUIT1 = 8;   // 4-byte group of heating circuit 1
inline constexpr std::uint8_t DAT_STATUS_CIRCUIT2 = 12;  // and of circuit 2
inline constexpr std::uint8_t DAT_STATUS_GROUP_SIZE = 4;

inline constexpr std::uint8_t DAT_CTRL_FA_PARAMETRISATION = 0x01; // burner control parametrisation active
inline constexpr std::uint8_t DAT_CTRL_CALIBRATION = 0x02;        // calibration active
inline constexpr std::uint8_t DAT_CTRL_ACTOR_TEST = 0x04;         // actor test active

inline constexpr std::uint8_t DAT_PLANT_STATE = 0x0F;         // low nibble: the plant state
inline constexpr std::uint8_t DAT_PLANT_FLUE_GAS_TEST = 0x10; // flue-gas test running
inline constexpr std::uint8_t DAT_PLANT_BURNER_LOCKED = 0x20; // burner control locked (edges post 154/155)
inline constexpr std::uint8_t DAT_PLANT_FAULT = 0x80;         // a fault is present

// Status word (status bytes 0 and 1).
inline constexpr std::uint16_t DAT_SW_RADIO_CLOCK = 1U << 0;
inline constexpr std::uint16_t DAT_SW_FAULT_MESSAGE = 1U << 1;
inline constexpr std::uint16_t DAT_SW_BURNER_ON = 1U << 2;
inline constexpr std::uint16_t DAT_SW_PARTICIPANT_WINK = 1U << 3;
inline constexpr std::uint16_t DAT_SW_BURNER_STAGE2 = 1U << 4;
inline constexpr std::uint16_t DAT_SW_FLOW_SWITCH = 1U << 5;
inline constexpr std::uint16_t DAT_SW_STORAGE_PUMP = 1U << 6;
inline constexpr std::uint16_t DAT_SW_CIRCULATION_PUMP = 1U << 7;
inline constexpr std::uint16_t DAT_SW_FAHRENHEIT = 1U << 9;
inline constexpr std::uint16_t DAT_SW_MAINTENANCE_HOURS = 1U << 10;    // maintenance due by burner hours
inline constexpr std::uint16_t DAT_SW_MAINTENANCE_INTERVAL = 1U << 11; // maintenance due by interval
inline constexpr std::uint16_t DAT_SW_RESTART_3AM = 1U << 13;
inline constexpr std::uint16_t DAT_SW_MAINTENANCE_MESSAGE = 1U << 14;
inline constexpr std::uint16_t DAT_SW_CONTROLLER_RESET = 1U << 15;

// Hold-off counters of the status edges (`DAT_SetHoldOff`).
inline constexpr std::uint8_t DAT_HOLD_FAULT_MESSAGE = 0;       // status word bit 1
inline constexpr std::uint8_t DAT_HOLD_MAINTENANCE_MESSAGE = 1; // status word bit 14
inline constexpr std::uint8_t DAT_HOLD_BURNER_LOCKED = 2;       // plant byte bit 5

// Circuit block (types 0, 1, 2 per heating circuit).
inline constexpr std::uint8_t DAT_CIRCUIT_ROOM = 2;       // room actual temperature, i8, 0.5 K
inline constexpr std::uint8_t DAT_CIRCUIT_MODE = 3;       // u16 operating-mode word
inline constexpr std::uint8_t DAT_CIRCUIT_ROOM_SET = 9;   // normal room set temperature, °C
inline constexpr std::uint8_t DAT_CIRCUIT_DEPARTURE = 14; // u32 holiday departure day
inline constexpr std::uint8_t DAT_CIRCUIT_RETURN = 18;    // u32 holiday return day

inline constexpr std::uint16_t DAT_MODE_PROGRAM = 0x0007;
inline constexpr std::uint16_t DAT_MODE_ECONOMY = 0x0008;
inline constexpr std::uint16_t DAT_MODE_PARTY = 0x0010;
inline constexpr std::uint16_t DAT_MODE_HOLIDAY = 0x0020;
inline constexpr std::uint8_t DAT_PROGRAM_HOT_WATER_ONLY = 0;
inline constexpr std::uint8_t DAT_PROGRAM_HEATING = 3; // heating and hot water
inline constexpr std::uint8_t DAT_PROGRAM_SHUT_DOWN = 5;

// Display settings tail (type 1).
inline constexpr std::uint8_t DAT_TAIL_DISPLAY_FLAG = 2;         // 0xAA or anything else (0x55)
inline constexpr std::uint8_t DAT_TAIL_SAVER_BRIGHTNESS = 5;     // 255: not set
inline constexpr std::uint8_t DAT_TAIL_OPERATING_BRIGHTNESS = 6; // 255: not set

// System block (type 2).
inline constexpr std::uint8_t DAT_SYSTEM_SENSORS = 1; // sensor flags
inline constexpr std::uint8_t DAT_SYSTEM_CONTRAST = 4;
inline constexpr std::uint8_t DAT_SYSTEM_LANGUAGE = 5;
inline constexpr std::uint8_t DAT_SYSTEM_CLOCK = 6; // u32 seconds
inline constexpr std::uint8_t DAT_SENSOR_BOILER = 0x02;

// Plant configuration (type 10).
inline constexpr std::uint8_t DAT_CFG_LOCK = 5;             // high nibble: the lock setting
inline constexpr std::uint8_t DAT_CFG_OPTIONS = 23;         // circuits and options
inline constexpr std::uint8_t DAT_CFG_CIRCUIT1_KIND = 0x03; // 0: circuit 1 absent
inline constexpr std::uint8_t DAT_CFG_CIRCUIT2_KIND = 0x0C; // 0: circuit 2 absent
inline constexpr std::uint8_t DAT_CFG_HOT_WATER_OPTION = 0x40;
inline constexpr std::uint8_t DAT_CFG_SOLAR = 0x80;

// Service block (type 15).
inline constexpr std::uint8_t DAT_SERVICE_FLAGS = 0;
inline constexpr std::uint8_t DAT_SVC0_SECOND_HOT_WATER = 0x40;
inline constexpr std::uint8_t DAT_SVC0_CLOCK_NOT_SET = 0x80;
inline constexpr std::uint8_t DAT_SERVICE_REQUESTS = 1;
inline constexpr std::uint8_t DAT_SVC1_COMMISSIONING = 0x20;
inline constexpr std::uint8_t DAT_SERVICE_FUNCTIONS = 13;
inline constexpr std::uint8_t DAT_SVC13_VENTING = 0x20;
inline constexpr std::uint8_t DAT_SVC13_FILLING = 0x40;
inline constexpr std::uint8_t DAT_SERVICE_MAX_POWER = 38; // maximum heating power, %

// Solar block (type 17): this byte is 99 when the solar option is fitted.
inline constexpr std::uint8_t DAT_SOLAR_OPTION = 11;
inline constexpr std::uint8_t DAT_SOLAR_OPTION_FITTED = 99;

// Message block 2 (type 14): the coding value the control unit last
// answered, with its limits; i16 values low byte first.
inline constexpr std::uint8_t DAT_CODING_SELECTORS = 0; // low nibble the group, high nibble the level
inline constexpr std::uint8_t DAT_CODING_ADDRESS = 1;
inline constexpr std::uint8_t DAT_CODING_VALUE = 2;
inline constexpr std::uint8_t DAT_CODING_MIN = 4;
inline constexpr std::uint8_t DAT_CODING_MAX = 6;

// Entry of a fault list.
inline constexpr std::uint8_t DAT_FAULT_ADVICE = 5; // u16
inline constexpr std::uint8_t DAT_FAULT_TIME = 7;   // u32 seconds, 0: none

// The image. Every block is named after what fills it.
struct DAT_Image {
    std::uint8_t counters[24];                               // type 0, payload 0..23
    std::uint8_t circuit[2][28];                             // types 0, 1, 2 per heating circuit
    std::uint8_t displayTail[7];                             // type 1, payload 20..26
    std::uint8_t system[21];                                 // type 2, payload 5..25
    std::uint8_t switching[2][3][7][8];                      // types 3..9: circuit, program, day, 4 phases on/off
    std::uint8_t plant[30];                                  // type 10
    std::uint8_t messages[25];                               // type 13
    std::uint8_t messages2[26];                              // type 14
    std::uint8_t service[54];                                // type 15 (the first 30 bytes come over the link)
    std::uint8_t participants[37];                           // type 16 (likewise)
    std::uint8_t solar[25];                                  // type 17
    std::uint8_t extension[27];                              // type 18
    std::uint8_t faults[DAT_FAULT_ENTRIES][DAT_FAULT_SIZE];  // type 22, current faults
    std::uint8_t history[DAT_FAULT_ENTRIES][DAT_FAULT_SIZE]; // type 23, fault history
    std::uint8_t solarHistory[29];                           // type 24
    std::uint16_t labels[2][DAT_LABEL_UNITS];                // type 25: UTF-16 units per circuit
    std::uint8_t labelLanguage[2];
    std::uint8_t counters2[29];                 // type 26
    std::uint8_t status[DAT_STATUS_BLOCK_SIZE]; // status telegram
    std::uint8_t fanSpeed[2];                   // stored maximum fan speed of stages 1 and 2 (%)
};

extern DAT_Image DAT_image;

// Writes the simulation's plant into the image; `localSeconds` is the host's
// time. Runs in the start-up, with the interrupt lock held.
void DAT_InitDefaults(std::uint32_t localSeconds);

// Copies an accepted data telegram (type/sequence, circuit or 0, payload;
// bytes beyond `length` count as 0) into its blocks as DAT_Telegrams.h lays
// them out. Returns false, storing nothing, for types without a block,
// circuits above 2, a per-circuit type without its circuit and fault-list
// parts above 4 or out of order (a fault list reaches the image only when
// parts 0 to 4 have come one after the other). The data-changed signal is
// the caller's: it knows when a multi-part telegram is complete.
bool DAT_StoreTelegram(const std::uint8_t* telegram, std::uint8_t length);
std::uint32_t DAT_IgnoredTelegrams();

// Status telegram: 20 raw bytes, edges and hold-off counters.
void DAT_StoreStatus(const std::uint8_t* raw);
void DAT_TickHoldOff();                                        // once a second
void DAT_SetHoldOff(std::uint8_t which, std::uint8_t seconds); // DAT_HOLD_*
bool DAT_FaultMessageFlag();
bool DAT_MaintenanceMessageFlag();
void DAT_ClearMessageFlags(bool fault, bool maintenance);

// Status block access (under the interrupt lock; the bus and test buttons write it).
std::uint8_t DAT_StatusByte(std::uint8_t index);
void DAT_SetStatusFlag(std::uint8_t index, std::uint8_t mask, bool on);
std::uint16_t DAT_StatusWord();
void DAT_SetStatusWordFlag(std::uint16_t bits, bool on);
std::uint8_t DAT_PlantState(); // low nibble of the plant byte
// Byte 0..3 of the current circuit's status group.
std::uint8_t DAT_CircuitStatusByte(std::uint8_t index);

// Heating circuits.
std::uint8_t DAT_CircuitCount(); // present circuits, at least 1
std::uint8_t DAT_FirstCircuit(); // 1, else 2, else 1
bool DAT_CircuitPresent(std::uint8_t circuit);
std::uint8_t DAT_SelectedCircuit(); // 0 none, 1 or 2
void DAT_SelectCircuit(std::uint8_t circuit);
// The circuit the circuit accessors and setters use: the selected one, else
// the first present (as user-operation records do). They read its block in
// the image itself, so there is no copy to refresh after a write.
std::uint8_t DAT_CurrentCircuit();
const std::uint8_t* DAT_View(); // the current circuit's 28-byte block
DTM_Clock DAT_HolidayDeparture();
DTM_Clock DAT_HolidayReturn();
void DAT_SetHolidayDeparture(std::uint32_t seconds); // the current circuit
void DAT_SetHolidayReturn(std::uint32_t seconds);
bool DAT_HasSolar();
bool DAT_HasHotWaterOption();

// Encodings.
int DAT_TempUnsigned(std::uint8_t raw); // 0.5 K steps -> whole degrees
int DAT_TempSigned(std::int8_t raw);    // rounding half away from zero
bool DAT_Fahrenheit();
int DAT_ToFahrenheit(int celsius);
int DAT_FromFahrenheit(int fahrenheit);

// Values the screens show (display units, °C).
int DAT_BoilerTemperature();
int DAT_HotWaterTemperature();
int DAT_OutsideTemperature();
int DAT_RoomTemperature();
bool DAT_BurnerOn();
bool DAT_BurnerStage2();
std::uint8_t DAT_OperatingProgram(); // bits 0..2 of the current circuit's mode word
std::uint16_t DAT_ModeWord();
void DAT_SetModeWord(std::uint16_t word); // the current circuit
std::uint8_t DAT_Contrast();
std::uint8_t DAT_GetLanguageByte();
void DAT_SetLanguageByte(std::uint8_t language);
std::uint32_t DAT_ControllerClock();

// Fault lists: a cursor per list selects the entry the accessors read.
void DAT_SelectFault(bool history, std::uint8_t index);
const std::uint8_t* DAT_Fault(bool history); // 11 bytes of the selected entry

// Switching times.
void DAT_SelectProgram(std::uint8_t program);          // 0 heating, 1 hot water, 2 circulation
void DAT_SelectDay(std::uint8_t selector);             // 0 Mon-Sun, 1..7 days, 8 Mon-Fri, 9 Sat-Sun
std::uint8_t DAT_DayOfSelector(std::uint8_t selector); // 0 = Monday .. 6 = Sunday
std::uint8_t* DAT_Phases();                            // 8 bytes (on/off x 4) of the selected circuit, program, day

// Circuit labels: UTF-16 units and the language they were entered in.
const std::uint16_t* DAT_Label(std::uint8_t circuit);
std::uint8_t DAT_LabelLanguage(std::uint8_t circuit);
void DAT_SetCircuitLabel(std::uint8_t circuit, const std::uint16_t* units, std::uint8_t count, std::uint8_t language);
void DAT_GetCircuitLabel(std::uint8_t circuit, std::uint16_t (&units)[DAT_LABEL_UNITS], std::uint8_t& language);

// The selected fault entry's advice number and time (0: no time given).
std::uint16_t DAT_FaultAdvice(bool history);
std::uint32_t DAT_FaultTime(bool history);

// Conditions of the base display, its messages and the menus.
bool DAT_FaultPresent();
bool DAT_FaultReported();
bool DAT_MaintenanceDue();      // by burner hours or by interval
bool DAT_BurnerControlLocked(); // as stored after its hold-off
bool DAT_CalibrationActive();
bool DAT_FaParametrisationActive();
bool DAT_FlueGasTestActive();
bool DAT_CommissioningRequested();
bool DAT_ClockMustBeSet();
bool DAT_SecondHotWaterBit();
bool DAT_FillingActive();
bool DAT_VentingActive();
void DAT_EndFilling();
void DAT_EndVenting();
void DAT_EndClockRequest();
bool DAT_HasSolarOption(); // the plant has solar and the solar block says it is fitted
// Solar yield of a day in Wh: 0 today, 1 yesterday .. 7; 0 for a later index.
std::uint32_t DAT_SolarYield(std::uint8_t day);
// The information list's values. Sensor flags of the system block: set, the
// sensor's value is not valid.
inline constexpr std::uint8_t DAT_SENSOR_OUTSIDE = 0x01;
inline constexpr std::uint8_t DAT_SENSOR_FLOW = 0x40;
inline constexpr std::uint8_t DAT_SENSOR_HOT_WATER = 0x80;
// Flags of the solar block.
inline constexpr std::uint8_t DAT_SOLAR_PUMP_ON = 0x01;
inline constexpr std::uint8_t DAT_SOLAR_COLLECTOR_SENSOR = 0x20;
inline constexpr std::uint8_t DAT_SOLAR_HOT_WATER_SENSOR = 0x80;
bool DAT_SensorFault(std::uint8_t mask);              // DAT_SENSOR_*
int DAT_CircuitRoomTemperature(std::uint8_t circuit); // °C
bool DAT_CircuitPumpOn(std::uint8_t circuit);         // from the status groups
int DAT_Circuit2FlowTemperature();                    // °C
bool DAT_StoragePumpOn();
bool DAT_CirculationPumpOn();
std::uint32_t DAT_SolarEnergy(); // kWh
std::uint8_t DAT_SolarFlags();   // DAT_SOLAR_*
int DAT_CollectorTemperature();  // °C
int DAT_SolarHotWaterTemperature();
std::uint8_t DAT_SolarPumpSpeed(); // %
std::uint8_t DAT_LockSetting();
bool DAT_BoilerSensorFault();
std::uint8_t DAT_RoomSetTemperature(); // the current circuit's normal room set temperature, °C
bool DAT_PartyOn();
bool DAT_EconomyOn();
// Heating and hot-water settings of the current circuit's block (°C, the
// slope in tenths, the level in K), the flags beside them, and the plant's
// options for the hot-water screens.
inline constexpr std::uint8_t DAT_CIRCUIT_EXTERNAL = 5;      // DAT_EXT_* flags of the control unit
inline constexpr std::uint8_t DAT_CIRCUIT_HOT_WATER_SET = 6; // hot-water set temperature
inline constexpr std::uint8_t DAT_CIRCUIT_HOT_WATER_MIN = 7; // its lowest and highest value
inline constexpr std::uint8_t DAT_CIRCUIT_HOT_WATER_MAX = 8;
inline constexpr std::uint8_t DAT_CIRCUIT_REDUCED_SET = 10; // reduced room set temperature
inline constexpr std::uint8_t DAT_CIRCUIT_PARTY_SET = 11;   // party room set temperature
inline constexpr std::uint8_t DAT_CIRCUIT_SLOPE = 12;
inline constexpr std::uint8_t DAT_CIRCUIT_LEVEL = 13;
inline constexpr std::uint8_t DAT_CIRCUIT_PERMITS = 23;  // DAT_PERMIT_* flags of the control unit
inline constexpr std::uint8_t DAT_EXT_SWITCHING = 0x01;  // external switching holds the program
inline constexpr std::uint8_t DAT_EXT_PROGRAM = 0x02;    // an external program is in force
inline constexpr std::uint8_t DAT_PERMIT_ECONOMY = 0x08; // economy mode may be switched on ...
inline constexpr std::uint8_t DAT_BAR_ECONOMY = 0x40;    // ... unless this is set
inline constexpr std::uint8_t DAT_SYSTEM_FLAGS = 0;
inline constexpr std::uint8_t DAT_SYS0_REMOTE_CIRCUIT1 = 0x04; // a remote control sets circuit 1's room value
inline constexpr std::uint8_t DAT_SYS0_REMOTE_CIRCUIT2 = 0x08;
inline constexpr std::uint8_t DAT_CFG_HOT_WATER = 24;                // plant byte of the hot-water options
inline constexpr std::uint8_t DAT_CFG_CIRCULATION_PUMP = 0x01;       // a circulation pump is fitted
inline constexpr std::uint8_t DAT_CFG_HOT_WATER_SET_AT_PANEL = 0x04; // the set temperature is set here
std::uint8_t DAT_CircuitByte(std::uint8_t offset);                   // of the current circuit's block
void DAT_SetCircuitByte(std::uint8_t offset, std::uint8_t value);
bool DAT_RemoteControl(std::uint8_t circuit);
bool DAT_HasCirculationPump();
bool DAT_HotWaterSetAtPanel();
void DAT_SetContrast(std::uint8_t contrast);
// Display flag sent with the display settings: 0xAA or 0x55.
std::uint8_t DAT_DisplayFlag();
void DAT_EndCommissioning();

// Fields the diagnosis and information lists show, read by one table: the
// block, offset and width of each. Circuit fields are the current
// circuit's. Fields the control unit defines beyond those named in the
// blocks above: the message block carries the boiler's set temperature (0)
// and the common flow and demand temperatures (1, 2), the extension block
// circuit 2's flow set temperature (0) and its return set and actual
// temperatures (1, 2), the plant configuration the coding plug (6), circuit
// byte 24 the external room set temperature.
enum class DAT_Field : std::uint8_t {
    OutsideDamped,    // i8, 0.5 K
    BoilerSet,        // u8, 0.5 K
    CommonFlow,       // u8, 0.5 K
    CommonDemand,     // u8, 0.5 K
    Fuel,             // u32
    HoursStage1,      // u32 h
    HoursStage2,      // u32 h
    BurnerStarts,     // u32
    CodingPlug,       // u8
    MaxPower,         // u8 %
    InternalPump,     // bit
    InternalOutput,   // bit
    CollectiveFault,  // bit
    OwnParticipant,   // u8
    ExternalDemand,   // bit
    ExternalLock,     // bit
    External010V,     // u8 %
    RadioClock,       // bit
    BurnerOn,         // bit
    BurnerStage2,     // bit
    FlowSwitch,       // bit
    StoragePump,      // bit
    CirculationPump,  // bit
    RoomSet,          // u8 °C
    RoomActual,       // i8, 0.5 K
    ReducedSet,       // u8 °C
    ExternalRoomSet,  // u8 °C
    HotWaterSet,      // u8 °C
    CircuitPump,      // bit of the circuit's status group
    Mixer,            // bits 4-5 of the circuit's status group
    FlowSet2,         // u8, 0.5 K
    Flow2,            // u8, 0.5 K
    ReturnSet2,       // u8, 0.5 K
    Return2,          // u8, 0.5 K
    Collector,        // i16, 0.5 K
    SolarHotWater,    // u8, 0.5 K
    SolarPumpHours,   // u16 h
    SolarEnergy,      // u32 kWh
    SolarPumpStarts,  // u32
    Stagnation,       // u32 h
    NightCirculation, // u32
    DiffTMonitoring,  // u32
    SolarPump,        // bit
    SolarSpeed,       // u8 %
    Reheat,           // bit
    Outside,          // i8, 0.5 K
    Boiler,           // u8, 0.5 K
    HotWater,         // u8, 0.5 K
    Count
};
// The field's raw value (a bit reads 0 or 1; signed widths sign-extended).
std::int32_t DAT_Read(DAT_Field field);
// Whether the sensor behind a temperature field reports a value: a set
// sensor flag (system block, circuit, solar) marks a sensor fault, as the
// boiler's does for the base display; true for fields without a flag.
bool DAT_SensorPresent(DAT_Field field);

// Static memory as at power-on (hosts that run several panels in one process).
void DAT_PowerOn();
