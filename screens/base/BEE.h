// End-user heating menu: room set temperature, operating program, party, economy.
#pragma once

#include "core/SM.h"

SM_State BEE_Endbenutzermenue(SM_Hsm* me, const SM_Event* e);

// The current circuit's name and, with two circuits, its short label
// between the LEFT and RIGHT pictograms; the line.
void BEE_DrawTitle();

// Static memory as at power-on (hosts that run several panels in one process).
void BEE_PowerOn();
