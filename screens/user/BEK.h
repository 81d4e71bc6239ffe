// Contrast screen: shows the contrast the root state steps and confirms it.
#pragma once

#include "core/SM.h"

SM_State BEK_EinstellungKontrast(SM_Hsm* me, const SM_Event* e);

// x1 of a scale bar drawn from x0 over `width` pixels for value in min..max;
// equal limits give a full bar at or above them, an empty one below.
int BEK_BarEnd(int x0, int width, int value, int min, int max);

// The scale of the setting screens (contrast, brightness): "-", "+", the
// tick frame, and the bar for value in min..max.
void BEK_DrawScale();
void BEK_DrawBar(int value, int min, int max);

// Static memory as at power-on (hosts that run several panels in one process).
void BEK_PowerOn();
