// Menu test: a standard menu of seven rows whose visibility a sub-menu sets,
// for trying the menu list with hidden entries. The device's menu-test
// button opens it.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BMNT_MenuTest(SM_Hsm* me, const SM_Event* e);
SM_State BMNT_SubmenuTest(SM_Hsm* me, const SM_Event* e);

inline constexpr std::uint8_t BMNT_ROWS = 7;
// 1 = the row is shown in the menu test.
const std::uint8_t* BMNT_RowFlags();

// Static memory as at power-on (hosts that run several panels in one process).
void BMNT_PowerOn();
