// Puts the panel's static memory into its power-on state, as a fresh
// process finds it (for hosts that run several simulations in one process).
#pragma once

void SIM_PowerOn();
