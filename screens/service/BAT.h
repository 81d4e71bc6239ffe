// Actor test: the control unit switches single actors on while the
// contractor watches; the panel asks for the actors it offers, lists them
// and names the one to switch.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/SM.h"

SM_State BAT_AktorenTest(SM_Hsm* me, const SM_Event* e);
SM_State BAT_AktorenMenue(SM_Hsm* me, const SM_Event* e);
SM_State BAT_TestAktor(SM_Hsm* me, const SM_Event* e);

inline constexpr std::uint8_t BAT_ACTORS = 19;

// The actor entries the control unit's descriptors show (bit n: entry n).
// A 0 ends the descriptors; without one, `count` bytes are all there are.
std::uint32_t BAT_VisibleActors(const std::uint8_t* descriptors, std::size_t count);

// Static memory as at power-on (hosts that run several panels in one process).
void BAT_PowerOn();
