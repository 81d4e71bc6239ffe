// User-operation record builders.
#include "comm/DIS_UserOps.h"

#include <cstring>
#include <initializer_list>

#include "comm/DIS_Link.h"
#include "core/MAIN_Record.h"
#include "core/SM.h"
#include "data/DAT.h"

namespace {

constexpr std::uint8_t kStore = 0xAA;
constexpr std::uint8_t kMaintenanceReset = 0xAA;

// Writes the code and parameters into the record buffer and files it.
void File(std::uint8_t type, std::uint8_t code, std::initializer_list<std::uint8_t> parameters)
{
    std::uint8_t* r = DIS_RecordBuffer();
    std::memset(r + 3, 0, 10);
    r[3] = code;
    std::uint8_t i = 4;
    for (std::uint8_t p : parameters) {
        if (i <= 12) {
            r[i++] = p;
        }
    }
    DIS_FileUserOp(type);
}

void FileU32(std::uint8_t type, std::uint8_t code, std::uint32_t v)
{
    File(type, code,
         {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)});
}

void SetMode(std::uint16_t clear, std::uint16_t set)
{
    DAT_SetModeWord(static_cast<std::uint16_t>((DAT_ModeWord() & ~clear) | set));
}

void SetProgram(std::uint8_t program)
{
    SetMode(DAT_MODE_PROGRAM, program);
}

} // namespace

void DIS_UO_ShutDown()
{
    SetProgram(DAT_PROGRAM_SHUT_DOWN);
    File(1, 200, {});
    DIS_UO_EconomyOff();
}

void DIS_UO_HotWaterOnly()
{
    SetProgram(DAT_PROGRAM_HOT_WATER_ONLY);
    File(1, 201, {});
    DIS_UO_EconomyOff();
}

void DIS_UO_HeatingAndHotWater()
{
    SetProgram(DAT_PROGRAM_HEATING);
    File(1, 202, {});
}

void DIS_UO_PartyOn()
{
    SetMode(0, DAT_MODE_PARTY);
    File(1, 203, {});
    DIS_UO_EconomyOff();
}

void DIS_UO_PartyOff()
{
    SetMode(DAT_MODE_PARTY, 0);
    File(1, 204, {});
}

void DIS_UO_RoomTemperature(bool reduced, std::uint8_t celsius)
{
    File(1, reduced ? 206 : 205, {celsius});
}

void DIS_UO_PartyTemperature(std::uint8_t celsius)
{
    File(1, 207, {celsius});
}

void DIS_UO_HotWaterTemperature(std::uint8_t celsius)
{
    File(1, 208, {celsius});
}

void DIS_UO_Slope(std::uint8_t tenths)
{
    File(1, 210, {tenths});
}

void DIS_UO_Level(std::int8_t level)
{
    File(1, 211, {static_cast<std::uint8_t>(level)});
}

void DIS_UO_Time(std::uint32_t seconds)
{
    FileU32(2, 212, seconds);
    SM_Post(DTM_Task, SIG_CLOCK_SET, seconds);
    DIS_UO_Request(15, 0);
}

void DIS_UO_Date(std::uint32_t seconds)
{
    FileU32(2, 213, seconds);
    SM_Post(DTM_Task, SIG_CLOCK_SET, seconds);
    DIS_UO_Request(15, 0);
}

void DIS_UO_SwitchingTime(std::uint8_t type, std::uint8_t edge, std::uint8_t phase, std::uint8_t programKind,
                          std::uint32_t dayCode, std::uint8_t steps)
{
    // The control unit counts hours and tens of minutes.
    const std::uint8_t time = steps >= 145 ? 255 : static_cast<std::uint8_t>(steps / 6 * 8 + steps % 6);
    File(type, 214,
         {edge, phase, programKind, 0, static_cast<std::uint8_t>(dayCode), static_cast<std::uint8_t>(dayCode >> 8),
          static_cast<std::uint8_t>(dayCode >> 16), static_cast<std::uint8_t>(dayCode >> 24), time});
}

void DIS_UO_HotWaterAutomatic(bool automatic)
{
    File(1, automatic ? 215 : 237, {});
}

void DIS_UO_CirculationAutomatic(bool automatic)
{
    File(1, automatic ? 216 : 238, {});
}

void DIS_UO_HolidayDeparture(std::uint32_t daySeconds)
{
    DAT_SetHolidayDeparture(daySeconds);
    FileU32(1, 217, daySeconds);
}

void DIS_UO_HolidayReturn(std::uint32_t daySeconds)
{
    DAT_SetHolidayReturn(daySeconds);
    FileU32(1, 218, daySeconds);
}

void DIS_UO_HolidayEnded()
{
    DAT_SetHolidayDeparture(0);
    DAT_SetHolidayReturn(0);
    SetMode(DAT_MODE_HOLIDAY, 0);
    File(1, 219, {});
}

void DIS_UO_EconomyOn()
{
    SetMode(0, DAT_MODE_ECONOMY);
    File(1, 220, {});
    DIS_UO_PartyOff();
}

void DIS_UO_EconomyOff()
{
    SetMode(DAT_MODE_ECONOMY, 0);
    File(1, 221, {});
}

void DIS_UO_ActorTest(std::uint8_t actor)
{
    File(13, 222, {actor});
}

void DIS_UO_Plain(std::uint8_t code)
{
    File(0, code, {});
}

void DIS_UO_CodingValue(std::uint8_t selectors, std::uint8_t index, std::uint16_t value, std::uint8_t flag)
{
    File(14, 228, {selectors, index, static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8), flag});
}

void DIS_UO_Reset(std::uint8_t selector)
{
    const bool circuitReset = selector == 1 || selector == 2;
    File(circuitReset ? 1 : 17, 229, {selector});
    if (circuitReset) {
        SM_Post(DIS_Task, SIG_DIS_REFRESH_ALL, 0);
    }
}

void DIS_UO_CodingRead(std::uint8_t selectors, std::uint8_t index, std::uint8_t flag)
{
    File(14, 230, {selectors, index, 0, 0, flag});
}

void DIS_UO_Request(std::uint8_t index, std::uint8_t part)
{
    if (index >= DIS_PER_CIRCUIT) {
        // A per-circuit type carries its circuit where other requests carry the part.
        const auto circuit = static_cast<std::uint8_t>((index - DIS_PER_CIRCUIT) / 3 + 1);
        DIS_UO_RequestCircuit(static_cast<std::uint8_t>((index - DIS_PER_CIRCUIT) % 3), circuit, circuit);
        return;
    }
    File(index, 231, {part});
}

void DIS_UO_RequestCircuit(std::uint8_t type, std::uint8_t circuit, std::uint8_t part)
{
    std::uint8_t* r = DIS_RecordBuffer();
    std::memset(r + 3, 0, 10);
    r[3] = 231;
    r[4] = part;
    DIS_FileUserOpCircuit(type, circuit);
}

void DIS_UO_DisplaySettings(std::uint8_t contrast, std::uint8_t language, std::uint8_t flag)
{
    File(15, 234, {3, contrast, language, flag, 0});
}

void DIS_UO_Faults(std::uint8_t function)
{
    File(0, 235, {function});
}

void DIS_UO_ClearFaultHistory()
{
    File(12, 239, {});
}

void DIS_UO_StartOfCommunication(std::uint8_t restartReason)
{
    const std::uint16_t checksum = MAIN_RomChecksum();
    File(10, 240, {static_cast<std::uint8_t>(checksum), static_cast<std::uint8_t>(checksum >> 8), restartReason, 0, 0});
}

void DIS_UO_Maintenance(std::uint8_t function)
{
    DAT_ClearMessageFlags(false, true);
    if (function == kMaintenanceReset) {
        DAT_SetStatusWordFlag(DAT_SW_MAINTENANCE_HOURS | DAT_SW_MAINTENANCE_INTERVAL | DAT_SW_MAINTENANCE_MESSAGE,
                              false);
    }
    File(0, 242, {function});
}

void DIS_UO_Participant(std::uint8_t index, std::uint32_t value)
{
    File(16, 243,
         {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24), index});
}

void DIS_UO_ServicePin()
{
    File(15, 245, {});
}

void DIS_UO_Function(std::uint8_t function, std::uint8_t value)
{
    File(15, 247, {function, value, 0, 0, 0});
}

void DIS_UO_HeatingPower(std::uint8_t value, std::uint8_t flag)
{
    if (flag == kStore) {
        DAT_image.service[DAT_SERVICE_MAX_POWER] = value;
    }
    File(15, 248, {value, flag});
}

void DIS_UO_FanSpeed(std::uint8_t stage, std::uint8_t value, std::uint8_t flag)
{
    if (flag == kStore && stage <= 1) {
        DAT_image.fanSpeed[stage] = value;
    }
    File(2, 250, {stage, value, flag});
}

void DIS_UO_Brightness(bool operating, std::uint8_t value)
{
    // Kept in the image as well, so that a type-1 telegram still on its way
    // does not put the old value back.
    DAT_image.displayTail[operating ? DAT_TAIL_OPERATING_BRIGHTNESS : DAT_TAIL_SAVER_BRIGHTNESS] = value;
    File(1, 252, {static_cast<std::uint8_t>(operating ? 1 : 0), value});
}

void DIS_UO_Label(std::uint8_t circuit, std::uint8_t part, const std::uint16_t* units, std::uint8_t count,
                  std::uint8_t language)
{
    std::uint8_t t[DIS_RECORD_SIZE] = {};
    t[0] = '#';
    t[1] = 25 << 3;
    t[2] = circuit;
    t[3] = part;
    t[4] = count > 10 ? 10 : count;
    for (std::uint8_t i = 0; i < t[4]; ++i) {
        t[5 + 2 * i] = static_cast<std::uint8_t>(units[i]);
        t[6 + 2 * i] = static_cast<std::uint8_t>(units[i] >> 8);
    }
    t[29] = language;
    DIS_FileUserOpLong(t);
}
