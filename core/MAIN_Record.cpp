// The main task's record in static memory.
#include "core/MAIN_Record.h"

namespace {

constexpr std::uint16_t kNoChecksum = 0xFFFF;

MAIN_ResetRecord record; // zero at process start, kept across restarts
std::uint16_t romChecksum = kNoChecksum;

} // namespace

void MAIN_SetResetReason(std::uint8_t reason)
{
    record.reason = reason;
}

std::uint8_t MAIN_GetResetReason()
{
    return record.reason;
}

MAIN_ResetRecord& MAIN_GetResetRecord()
{
    return record;
}

std::uint16_t MAIN_RomChecksum()
{
    return romChecksum;
}

void MAIN_SetRomChecksum(std::uint16_t value)
{
    romChecksum = value;
}

void MAIN_RecordPowerOn()
{
    record = MAIN_ResetRecord{};
    romChecksum = kNoChecksum;
}
