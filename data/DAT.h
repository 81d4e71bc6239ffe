// Operating data image: the control unit's data as the panel keeps it.
#pragma once

#include <cstdint>

inline constexpr std::uint8_t DAT_STATUS_BLOCK_SIZE = 20;
// Byte of the status block with the controller's status flags.
inline constexpr std::uint8_t DAT_STATUS_CONTROLLER = 5;
inline constexpr std::uint8_t DAT_CTRL_FA_PARAMETRISATION = 0x01; // burner control parametrisation active
inline constexpr std::uint8_t DAT_CTRL_CALIBRATION = 0x02;        // calibration active

std::uint8_t DAT_StatusByte(std::uint8_t index);
void DAT_SetStatusFlag(std::uint8_t index, std::uint8_t mask, bool on);
