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

// Byte of the status block with the controller's status flags.
inline constexpr std::uint8_t DAT_STATUS_CONTROLLER = 5;
inline constexpr std::uint8_t DAT_CTRL_FA_PARAMETRISATION = 0x01; // burner control parametrisation active
inline constexpr std::uint8_t DAT_CTRL_CALIBRATION = 0x02;        // calibration active
inline constexpr std::uint8_t DAT_CTRL_ACTOR_TEST = 0x04;         // actor test active

// Status word bits.
inline constexpr std::uint16_t DAT_SW_RADIO_CLOCK = 1U << 0;
inline constexpr std::uint16_t DAT_SW_FAULT_MESSAGE = 1U << 1;
inline constexpr std::uint16_t DAT_SW_BURNER_ON = 1U << 2;
inline constexpr std::uint16_t DAT_SW_PARTICIPANT_WINK = 1U << 3;
inline constexpr std::uint16_t DAT_SW_BURNER_STAGE2 = 1U << 4;
inline constexpr std::uint16_t DAT_SW_FLOW_SWITCH = 1U << 5;
inline constexpr std::uint16_t DAT_SW_STORAGE_PUMP = 1U << 6;
inline constexpr std::uint16_t DAT_SW_CIRCULATION_PUMP = 1U << 7;
inline constexpr std::uint16_t DAT_SW_FAHRENHEIT = 1U << 9;
inline constexpr std::uint16_t DAT_SW_RESTART_3AM = 1U << 13;
inline constexpr std::uint16_t DAT_SW_MAINTENANCE_MESSAGE = 1U << 14;
inline constexpr std::uint16_t DAT_SW_CONTROLLER_RESET = 1U << 15;

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

// Copies an accepted data telegram (32 bytes: type/sequence, circuit or part,
// payload) into its block and posts the data-changed signal when the
// telegram is complete. Returns false for types without a block.
bool DAT_StoreTelegram(const std::uint8_t* telegram, std::uint8_t length);
std::uint32_t DAT_IgnoredTelegrams();

// Status telegram: 20 raw bytes, edges and hold-off counters.
void DAT_StoreStatus(const std::uint8_t* raw);
void DAT_TickHoldOff();                                        // once a second
void DAT_SetHoldOff(std::uint8_t which, std::uint8_t seconds); // 0 = A, 1 = B, 2 = C
bool DAT_FaultMessageFlag();
bool DAT_MaintenanceMessageFlag();
void DAT_ClearMessageFlags(bool fault, bool maintenance);

// Status block access (under the interrupt lock; the bus and test buttons write it).
std::uint8_t DAT_StatusByte(std::uint8_t index);
void DAT_SetStatusFlag(std::uint8_t index, std::uint8_t mask, bool on);
std::uint16_t DAT_StatusWord();

// Heating circuits.
std::uint8_t DAT_CircuitCount(); // present circuits, at least 1
std::uint8_t DAT_FirstCircuit(); // 1, else 2, else 1
bool DAT_CircuitPresent(std::uint8_t circuit);
std::uint8_t DAT_SelectedCircuit(); // 0 none, 1 or 2
void DAT_SelectCircuit(std::uint8_t circuit);
void DAT_RefreshView(std::uint8_t circuit);
const std::uint8_t* DAT_View();          // 28-byte copy of the selected circuit's block
const std::uint8_t* DAT_CircuitStatus(); // the selected circuit's 4-byte status group
const DTM_Clock& DAT_HolidayDeparture();
const DTM_Clock& DAT_HolidayReturn();
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
std::uint8_t DAT_OperatingProgram(); // bits 0..2 of the selected circuit's mode word
std::uint16_t DAT_ModeWord();
void DAT_SetModeWord(std::uint16_t word); // the selected circuit, block and view
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
bool DAT_FaultPresent();            // status byte 7 bit 7
bool DAT_FaultReported();           // status word bit 1
bool DAT_MaintenanceDue();          // status word bit 10 (burner hours) or 11 (interval)
bool DAT_BurnerControlLocked();     // status byte 7 bit 5, as stored after its hold-off
bool DAT_CalibrationActive();       // status byte 5 bit 1
bool DAT_FaParametrisationActive(); // status byte 5 bit 0
bool DAT_FlueGasTestActive();       // status byte 7 bit 4
bool DAT_CommissioningRequested();  // service byte 1 bit 5
bool DAT_ClockMustBeSet();          // service byte 0 bit 7
bool DAT_SecondHotWaterBit();       // service byte 0 bit 6
bool DAT_FillingActive();           // service byte 13 bit 6
bool DAT_VentingActive();           // service byte 13 bit 5
void DAT_EndFilling();
void DAT_EndVenting();
void DAT_EndClockRequest();            // clears service byte 0 bit 7
bool DAT_HasSolarOption();             // plant byte 23 bit 7 and solar byte 11 = 99
std::uint8_t DAT_LockSetting();        // plant byte 5, high nibble
bool DAT_BoilerSensorFault();          // system byte 1 bit 1
std::uint8_t DAT_RoomSetTemperature(); // the selected circuit's normal room set temperature, °C
bool DAT_PartyOn();                    // mode word bit 4
bool DAT_EconomyOn();                  // mode word bit 3
void DAT_SetContrast(std::uint8_t contrast);
// Display flag sent with the display settings: 0xAA or 0x55.
std::uint8_t DAT_DisplayFlag();
void DAT_EndCommissioning(); // clears service byte 1 bit 5
