// Root of every screen: key activity, operation timeout, contrast keys.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BKE_Kontrasteinstellung(SM_Hsm* me, const SM_Event* e);

// Ticks of 100 ms without a key before a screen falls back to the base
// display: 30 min in service mode or with the long timeout, else 2 min.
std::uint16_t BKE_OperationTimeout();
