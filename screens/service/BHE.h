// Manufacturer end test: display, keyboard and program-memory checks at the
// end of the production line, entered by MENU+DOWN in the first 3 s of a start.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/SM.h"

SM_State BHE_HerstellerEndkontrolle(SM_Hsm* me, const SM_Event* e);
SM_State BHE_Displaytest_1(SM_Hsm* me, const SM_Event* e);
SM_State BHE_Displaytest_2(SM_Hsm* me, const SM_Event* e);
SM_State BHE_Keyboardtest(SM_Hsm* me, const SM_Event* e);
SM_State BHE_RomChecksum(SM_Hsm* me, const SM_Event* e);

// CRC-16 (polynomial 0x1021, start 0xFFFF, no reflection) continued over n bytes.
std::uint16_t BHE_Crc16(std::uint16_t crc, const std::uint8_t* data, std::size_t n);
// The program-memory checksum of this build: the CRC over the glyph tables
// of the three fonts, the constant part of the program that is the same in
// every build of these sources (machine code differs by compiler and options).
std::uint16_t BHE_ProgramChecksum();

// Static memory as at power-on (hosts that run several panels in one process).
void BHE_PowerOn();
