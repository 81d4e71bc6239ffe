// Coding values: the address list of a coding group, its value editor and
// the feedback. The value lives in the control unit; the panel asks for it,
// shows it and sends a changed one back.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BCP_Codierung_1(SM_Hsm* me, const SM_Event* e);
SM_State BCP_Codierung_2(SM_Hsm* me, const SM_Event* e);
SM_State BCP_EditValue(SM_Hsm* me, const SM_Event* e);
SM_State BCP_EditFeedback(SM_Hsm* me, const SM_Event* e);

// Coding groups as the control unit numbers them.
enum : std::uint8_t {
    BCP_GROUP_BOILER = 1,
    BCP_GROUP_HOT_WATER = 2,
    BCP_GROUP_GENERAL = 3,
    BCP_GROUP_CIRCUIT1 = 4,
    BCP_GROUP_CIRCUIT2 = 5,
    BCP_GROUP_SOLAR = 9,
};

// The level (1 or 2) and group the next coding list shows.
void BCP_Select(std::uint8_t level, std::uint8_t group);

// Description of an address on level 1 (a text id), ML_NO_TEXT where the
// address has none.
std::uint16_t BCP_Description(std::uint8_t group, std::uint8_t address);

// INIT parameter of the coding screens returning among themselves: the
// title stays, only the area below it is drawn again.
inline constexpr std::uint32_t BCP_PAR_INIT_CODIERUNG = 12;

// Static memory as at power-on (hosts that run several panels in one process).
void BCP_PowerOn();
