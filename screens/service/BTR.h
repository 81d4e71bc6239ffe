// Event-queue view: each task queue's highest fill level against its size;
// a developer's screen, opened by MENU+DOWN in the character-set view.
#pragma once

#include "core/SM.h"

SM_State BTR_FifoBufferMenue(SM_Hsm* me, const SM_Event* e);

// The text of a task's row value, "3/16".
void BTR_ValueText(std::uint8_t task, char* out, std::uint8_t size);

// Static memory as at power-on (hosts that run several panels in one process).
void BTR_PowerOn();
