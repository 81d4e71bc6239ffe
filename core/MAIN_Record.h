// The main task's record in static memory: why the panel last restarted, the
// memory marker, the ROM checksum. It lives in the kernel because the layers
// below the main task read it (the link reports the reason and the checksum).
#pragma once

#include <cstdint>

// Survives restarts, zero at power-on.
struct MAIN_ResetRecord {
    std::uint32_t magic;
    std::uint8_t reason;
    std::uint32_t memoryMarker;
};

inline constexpr std::uint32_t MAIN_RECORD_MAGIC = 0x12345678;
inline constexpr std::uint32_t MAIN_MEMORY_MARKER = 0xC7C7C7C7;

void MAIN_SetResetReason(std::uint8_t reason);
std::uint8_t MAIN_GetResetReason();
MAIN_ResetRecord& MAIN_GetResetRecord();
std::uint16_t MAIN_RomChecksum();
void MAIN_SetRomChecksum(std::uint16_t value);

// The record and the checksum as at power-on.
void MAIN_RecordPowerOn();
