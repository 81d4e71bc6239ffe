// The diagnosis and information lists, written once: a list is a table of
// rows, each a label at the left and a value from the operating data at the
// right; a row may open a detail list or, in a menu, another screen. Each
// list state is then one line:
//
//   SM_State BDAS_DiagnoseSolarMenue(SM_Hsm* me, const SM_Event* e)
//   {
//       return DL_ListState(me, e, kList);
//   }
#pragma once

#include <cstdint>

#include "core/SM.h"
#include "data/DAT.h"
#include "screens/common/SCR.h"

// How a row shows its value.
enum class DL_Format : std::uint8_t {
    None,
    Temperature,       // unsigned, 0.5 K
    SignedTemperature, // signed, 0.5 K
    Celsius,           // whole °C
    Hours,
    KWh,
    Percent,
    Number,
    OnOff,
    Mixer,
    Slope,
    Level,
    Program,         // the current circuit's operating program
    OperatingState,  // holiday, party, economy or the program's heating
    HotWaterProgram, // "Automatik" or "Individuell"
    CirculationProgram,
    Time, // the panel clock
    Date,
    Departure, // the current circuit's holiday days
    Return,
};

// Detail groups a row can open.
enum class DL_Detail : std::uint8_t {
    None,
    Program,
    OperatingState,
    TimeProgram,
    Holiday,
    Outside,
    Boiler,
    Flow,
    ReturnFlow,
    External,
    HotWater,
};

struct DL_Row {
    std::uint16_t label; // ML_NO_TEXT: the value alone, at the left
    DL_Format format;
    DAT_Field field = DAT_Field::Count; // for the formats that read one
    DL_Detail detail = DL_Detail::None;
    SM_Handler target = nullptr; // a menu row's screen
    bool (*visible)() = nullptr; // nullptr: always shown
};

struct DL_List {
    const char* name;
    const DL_Row* rows;
    std::uint8_t count;
    std::uint16_t title;  // text id; circuit lists draw the circuit's name
    std::uint8_t circuit; // 1 or 2: selected on entry; 0: none
    SM_Handler self;      // where a detail list returns to
    SM_Handler back;      // BACK: entered as from its child
    SM_Handler detail;    // the family's detail list
    SCR_Menu* memory;     // cursor and first row, for the return
    std::uint8_t help;    // help page
};

inline constexpr std::uint8_t DL_MAX_ROWS = 24;

SM_State DL_ListState(SM_Hsm* me, const SM_Event* e, const DL_List& list);
// The detail group of the row a list opened it from; back to that list.
SM_State DL_DetailState(SM_Hsm* me, const SM_Event* e, const char* name);

// The value text of a row (for tests and the reset screens).
void DL_ValueText(const DL_Row& row, char* out, std::uint8_t size);

// Counter resets, by the rows of the diagnosis's reset list: 0 the damped
// outside temperature, 1 and 2 the burner hours (single stage, stage 1), 3
// stage 2, 4 starts, 5 fuel, 6 to 11 the solar counters, 12 all of them.
inline constexpr std::uint8_t DL_RESET_ROWS = 13;
// Files the row's reset records, in their order.
void DL_ResetCounters(std::uint8_t row);
// The row's counter as the reset lists show it.
extern const DL_Row DL_RESET_TABLE[DL_RESET_ROWS];
// Its name in the question.
std::uint16_t DL_ResetName(std::uint8_t row);

// Conditions of rows and menu entries.
bool DL_Circuit1();
bool DL_Circuit2();
bool DL_HotWater();
bool DL_Solar();
bool DL_TwoStages();
bool DL_OneStage();
bool DL_HotWaterVariant1();
bool DL_HotWaterVariant2();

// Static memory as at power-on (hosts that run several panels in one process).
void DL_PowerOn();
