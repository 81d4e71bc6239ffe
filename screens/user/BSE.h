// Solar energy: the yield of today and the seven days before, as a chart
// and, for the chosen day, as a number.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BSE_Solarenergie(SM_Hsm* me, const SM_Event* e);

// A day's yield in tenths of kWh, rounded.
std::uint32_t BSE_Tenths(std::uint32_t wattHours);
// The height of a bar in pixels: the largest yield reaches the full height,
// the others in proportion; never more than the full height.
int BSE_BarHeight(std::uint32_t tenths, std::uint32_t largest);
// The chart of the eight days, with day `selected` filled.
void BSE_DrawChart(std::uint8_t selected, bool mark);

// Static memory as at power-on (hosts that run several panels in one process).
void BSE_PowerOn();
