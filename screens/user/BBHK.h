// Circuit label: the user names a heating circuit, one character at a time
// from the character set of the language in force.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BBHK_BeschriftungDialog(SM_Hsm* me, const SM_Event* e);
SM_State BBHK_Feedback(SM_Hsm* me, const SM_Event* e);

// Characters a label entered at the panel holds (the image keeps more).
inline constexpr std::uint8_t BBHK_LENGTH = 17;

// The character set of a language: its size, and the character at an index
// (a space for an index the set does not have, or a language it does not know).
std::uint8_t BBHK_SetSize(std::uint8_t language);
std::uint16_t BBHK_SetChar(std::uint8_t language, std::uint8_t index);

// Static memory as at power-on (hosts that run several panels in one process).
void BBHK_PowerOn();
