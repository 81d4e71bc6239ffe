// Diagnosis and information lists: row values and the list and detail
// states every such list shares.
#include "screens/service/DL.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <utility>

#include "comm/DIS_UserOps.h"
#include "core/DTM.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/FMT_Date.h"
#include "screens/common/ML.h"
#include "screens/common/VD.h"
#include "screens/user/HK.h"

namespace {

constexpr std::uint16_t kOn = 76;
constexpr std::uint16_t kOff = 24;
constexpr std::uint16_t kMixerOpen = 23;
constexpr std::uint16_t kMixerClosed = 310;
constexpr std::uint16_t kMixerControlled = 217;
constexpr std::uint16_t kHours = 113;
constexpr std::uint16_t kKWh = 156;
constexpr std::uint16_t kPercent = 1;
constexpr std::uint16_t kNone = 0; // "---"
constexpr std::uint16_t kAutomatic = 30;
constexpr std::uint16_t kIndividual = 134;
constexpr std::uint16_t kSet = 244;
constexpr std::uint16_t kActual = 138;

constexpr DL_Row kProgramRows[] = {{41, DL_Format::None}, {ML_NO_TEXT, DL_Format::Program}};
constexpr DL_Row kStateRows[] = {{44, DL_Format::None}, {ML_NO_TEXT, DL_Format::OperatingState}};
constexpr DL_Row kTimeRows[] = {{272, DL_Format::Time}};
constexpr DL_Row kHolidayRows[] = {{8, DL_Format::Departure}, {220, DL_Format::Return}};
constexpr DL_Row kOutsideRows[] = {{104, DL_Format::SignedTemperature, DAT_Field::OutsideDamped},
                                   {kActual, DL_Format::SignedTemperature, DAT_Field::Outside}};
constexpr DL_Row kBoilerRows[] = {{kSet, DL_Format::Temperature, DAT_Field::BoilerSet},
                                  {kActual, DL_Format::Temperature, DAT_Field::Boiler}};
constexpr DL_Row kFlowRows[] = {{kSet, DL_Format::Temperature, DAT_Field::FlowSet2},
                                {kActual, DL_Format::Temperature, DAT_Field::Flow2}};
constexpr DL_Row kReturnRows[] = {{kSet, DL_Format::Temperature, DAT_Field::ReturnSet2},
                                  {kActual, DL_Format::Temperature, DAT_Field::Return2}};
constexpr DL_Row kExternalRows[] = {{20, DL_Format::OnOff, DAT_Field::ExternalDemand},
                                    {254, DL_Format::OnOff, DAT_Field::ExternalLock},
                                    {87, DL_Format::Percent, DAT_Field::External010V}};
constexpr DL_Row kHotWaterRows[] = {{kSet, DL_Format::Celsius, DAT_Field::HotWaterSet},
                                    {kActual, DL_Format::Temperature, DAT_Field::HotWater}};

struct Group {
    const DL_Row* rows;
    std::uint8_t count;
};

// In the order of DL_Detail.
constexpr Group kGroups[] = {
    {nullptr, 0},
    {kProgramRows, std::size(kProgramRows)},
    {kStateRows, std::size(kStateRows)},
    {kTimeRows, std::size(kTimeRows)},
    {kHolidayRows, std::size(kHolidayRows)},
    {kOutsideRows, std::size(kOutsideRows)},
    {kBoilerRows, std::size(kBoilerRows)},
    {kFlowRows, std::size(kFlowRows)},
    {kReturnRows, std::size(kReturnRows)},
    {kExternalRows, std::size(kExternalRows)},
    {kHotWaterRows, std::size(kHotWaterRows)},
};

struct Lists {
    const DL_Row* rows = nullptr; // of the list shown
    std::uint8_t count = 0;
    const DL_List* opener = nullptr; // the list a detail list was opened from
    std::uint16_t openerLabel = ML_NO_TEXT;
    DL_Detail group = DL_Detail::None;
    SCR_Menu detailMenu{0, 0, HINT_CHOOSE};
};

Lists dl;

// Appends a text, cut to what is left.
void Append(char* out, std::uint8_t size, const char* text)
{
    const std::size_t n = std::strlen(out);
    if (n + 1 < size) {
        std::snprintf(out + n, size - n, "%s", text);
    }
}

void Number(char* out, std::uint8_t size, std::int32_t value, std::uint16_t unit)
{
    std::snprintf(out, size, "%ld", static_cast<long>(value));
    if (unit != ML_NO_TEXT) {
        Append(out, size, TXT_GetText(unit));
    }
}

void Temperature(char* out, std::uint8_t size, int celsius, bool present)
{
    FMT_TemperatureText(out, size, TMP_ToDisplay(static_cast<std::int16_t>(celsius)), !present);
}

int HalfKelvinSigned(std::int32_t raw)
{
    return static_cast<int>(raw >= 0 ? (raw + 1) / 2 : (raw - 1) / 2);
}

std::uint16_t ProgramText()
{
    switch (DAT_OperatingProgram()) {
    case DAT_PROGRAM_HOT_WATER_ONLY:
        return 193;
    case DAT_PROGRAM_SHUT_DOWN:
        return 10;
    default:
        return 114;
    }
}

std::uint16_t StateText()
{
    const std::uint16_t mode = DAT_ModeWord();
    if ((mode & DAT_MODE_HOLIDAY) != 0) {
        return 95;
    }
    if ((mode & DAT_MODE_PARTY) != 0) {
        return 197;
    }
    if ((mode & DAT_MODE_ECONOMY) != 0) {
        return 249;
    }
    const std::uint8_t program = DAT_OperatingProgram();
    return program == DAT_PROGRAM_HOT_WATER_ONLY || program == DAT_PROGRAM_SHUT_DOWN ? 144 : 192;
}

void HolidayDay(char* out, std::uint8_t size, const DTM_Clock& day, std::uint32_t raw)
{
    if (raw == 0) {
        std::snprintf(out, size, "%s", TXT_GetText(kNone));
        return;
    }
    FMT_DateTime(day, 3, out, size);
}

std::uint32_t CircuitU32(std::uint8_t offset)
{
    const std::uint8_t* v = DAT_View() + offset;
    return v[0] | v[1] << 8 | v[2] << 16 | static_cast<std::uint32_t>(v[3]) << 24;
}

void DrawRow(const DL_Row& r, const GUI_BOX* box)
{
    char value[40];
    DL_ValueText(r, value, sizeof value);
    if (r.label == ML_NO_TEXT) {
        GUI_TextInBox(value, box, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
        return;
    }
    // One text at a time: the texts share one buffer.
    char name[128];
    TXT_CopyText(r.label, name, sizeof name);
    ML_DrawLeftRight(box, name, value[0] != '\0' ? value : nullptr);
}

template <std::uint8_t I> void Row(const GUI_BOX* box)
{
    if (I < dl.count) {
        DrawRow(dl.rows[I], box);
    }
}

template <std::size_t... I> constexpr auto MakeRows(std::index_sequence<I...>)
{
    return std::array<ML_DrawFn, sizeof...(I)>{Row<static_cast<std::uint8_t>(I)>...};
}

constexpr auto kRowDraw = MakeRows(std::make_index_sequence<DL_MAX_ROWS>{});

void Visibility()
{
    for (std::uint8_t i = 0; i < dl.count; ++i) {
        const DL_Row& r = dl.rows[i];
        ML_SetEntryVisibleRaw(i, r.visible == nullptr || r.visible() ? 1 : 0);
    }
}

void Build(const DL_Row* rows, std::uint8_t count)
{
    dl.rows = rows;
    dl.count = count < DL_MAX_ROWS ? count : DL_MAX_ROWS;
    for (std::uint8_t i = 0; i < dl.count; ++i) {
        ML_SetEntry(i, kRowDraw[i]);
    }
    ML_SetCount(dl.count);
    Visibility();
    ML_Init(0, 239, 29, 24, 2, 4);
}

void DrawTitle(const DL_List& l)
{
    if (l.circuit != 0) {
        HK_DrawCircuitTitle();
        return;
    }
    TITLE_SetText(TXT_GetText(l.title));
    TITLE_DrawLine();
}

void Show(std::uint8_t hint)
{
    ML_Draw();
    HINT_SetText(hint);
    LCD_Refresh();
}

} // namespace

void DL_ValueText(const DL_Row& r, char* out, std::uint8_t size)
{
    out[0] = '\0';
    const std::int32_t v = r.field == DAT_Field::Count ? 0 : DAT_Read(r.field);
    const bool present = r.field == DAT_Field::Count || DAT_SensorPresent(r.field);
    switch (r.format) {
    case DL_Format::None:
        break;
    case DL_Format::Temperature:
        Temperature(out, size, DAT_TempUnsigned(static_cast<std::uint8_t>(v)), present);
        break;
    case DL_Format::SignedTemperature:
        Temperature(out, size, HalfKelvinSigned(v), present);
        break;
    case DL_Format::Celsius:
        Temperature(out, size, static_cast<int>(v), present);
        break;
    case DL_Format::Hours:
        Number(out, size, v, kHours);
        break;
    case DL_Format::KWh:
        Number(out, size, v, kKWh);
        break;
    case DL_Format::Percent:
        Number(out, size, v, kPercent);
        break;
    case DL_Format::Number:
        Number(out, size, v, ML_NO_TEXT);
        break;
    case DL_Format::OnOff:
        Append(out, size, TXT_GetText(v != 0 ? kOn : kOff));
        break;
    case DL_Format::Mixer:
        Append(out, size, TXT_GetText(v == 2 ? kMixerOpen : v == 1 ? kMixerClosed : kMixerControlled));
        break;
    case DL_Format::Slope:
        HK_FormatSlope(DAT_CircuitByte(DAT_CIRCUIT_SLOPE), out, size);
        break;
    case DL_Format::Level:
        HK_FormatLevel(static_cast<std::int8_t>(DAT_CircuitByte(DAT_CIRCUIT_LEVEL)), out, size);
        break;
    case DL_Format::Program:
        Append(out, size, TXT_GetText(ProgramText()));
        break;
    case DL_Format::OperatingState:
        Append(out, size, TXT_GetText(StateText()));
        break;
    case DL_Format::HotWaterProgram:
    case DL_Format::CirculationProgram: {
        const std::uint8_t bit = r.format == DL_Format::HotWaterProgram ? 0x40 : 0x80;
        Append(out, size, TXT_GetText((DAT_CircuitByte(DAT_CIRCUIT_MODE) & bit) != 0 ? kAutomatic : kIndividual));
        break;
    }
    case DL_Format::Time:
        FMT_DateTime(DTM_GetClock(), 5, out, size);
        break;
    case DL_Format::Date:
        FMT_DateTime(DTM_GetClock(), 3, out, size);
        break;
    case DL_Format::Departure:
        HolidayDay(out, size, DAT_HolidayDeparture(), CircuitU32(DAT_CIRCUIT_DEPARTURE));
        break;
    case DL_Format::Return:
        HolidayDay(out, size, DAT_HolidayReturn(), CircuitU32(DAT_CIRCUIT_RETURN));
        break;
    }
}

SM_State DL_ListState(SM_Hsm* me, const SM_Event* e, const DL_List& l)
{
    SCR_Trace(l.name, e);
    SCR_Menu& memory = *l.memory;
    switch (e->sig) {
    case SIG_ENTRY:
        if (l.circuit != 0) {
            DAT_SelectCircuit(l.circuit);
        }
        Build(l.rows, l.count);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(memory, e->par)) {
            ML_RestorePosition(memory.firstRow, memory.cursor);
        } else {
            ML_SetCursor(ML_FirstVisible());
            ML_SetFirstRow(ML_FirstVisible());
        }
        GUI_EraseScreen();
        DrawTitle(l);
        Show(memory.hint);
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(memory);
        return nullptr;
    case SIG_TICK_5S: // values stay current
        Visibility();
        ML_Draw();
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK: {
        const std::uint8_t i = ML_GetCursor();
        if (i >= l.count) {
            return nullptr;
        }
        const DL_Row& r = l.rows[i];
        if (r.target != nullptr && e->sig == SIG_KEY_OK) {
            SM_TranParam(me, BMM_Menuemonitor, r.target, SCR_FROM_PARENT);
        } else if (r.detail != DL_Detail::None && l.detail != nullptr) {
            dl.opener = &l;
            dl.openerLabel = r.label;
            dl.group = r.detail;
            SM_TranParam(me, BMM_Menuemonitor, l.detail, SCR_FROM_PARENT);
        }
        return nullptr;
    }
    case SIG_KEY_BACK:
        SM_TranParam(me, BMM_Menuemonitor, l.back, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(memory, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, l.help);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(memory, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State DL_DetailState(SM_Hsm* me, const SM_Event* e, const char* name)
{
    SCR_Trace(name, e);
    const Group& g = kGroups[static_cast<std::size_t>(dl.group) % std::size(kGroups)];
    switch (e->sig) {
    case SIG_ENTRY:
        Build(g.rows, g.count);
        return nullptr;
    case SIG_INIT:
        SCR_MenuInit(dl.detailMenu, e->par);
        GUI_EraseScreen();
        TITLE_SetText(TXT_GetText(dl.openerLabel));
        TITLE_DrawLine();
        Show(HINT_BACK);
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(dl.detailMenu);
        return nullptr;
    case SIG_TICK_5S:
        ML_Draw();
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_KEY_LEFT:
        if (dl.opener != nullptr) {
            SM_TranParam(me, BMM_Menuemonitor, dl.opener->self, SCR_FROM_CHILD);
        }
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
        if (e->sig == SIG_KEY_UP) {
            ML_CursorUp();
        } else {
            ML_CursorDown();
        }
        LCD_Refresh();
        return nullptr;
    case SIG_HELP:
        if (dl.opener != nullptr) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, dl.opener->help);
        }
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

const DL_Row DL_RESET_TABLE[DL_RESET_ROWS] = {
    {29, DL_Format::SignedTemperature, DAT_Field::OutsideDamped},
    {50, DL_Format::Hours, DAT_Field::HoursStage1, DL_Detail::None, nullptr, DL_OneStage},
    {52, DL_Format::Hours, DAT_Field::HoursStage1, DL_Detail::None, nullptr, DL_TwoStages},
    {53, DL_Format::Hours, DAT_Field::HoursStage2, DL_Detail::None, nullptr, DL_TwoStages},
    {54, DL_Format::Number, DAT_Field::BurnerStarts},
    {55, DL_Format::Number, DAT_Field::Fuel},
    {238, DL_Format::Hours, DAT_Field::SolarPumpHours, DL_Detail::None, nullptr, DL_Solar},
    {237, DL_Format::KWh, DAT_Field::SolarEnergy, DL_Detail::None, nullptr, DL_Solar},
    {241, DL_Format::Number, DAT_Field::SolarPumpStarts, DL_Detail::None, nullptr, DL_Solar},
    {243, DL_Format::Hours, DAT_Field::Stagnation, DL_Detail::None, nullptr, DL_Solar},
    {182, DL_Format::Number, DAT_Field::NightCirculation, DL_Detail::None, nullptr, DL_Solar},
    {69, DL_Format::Number, DAT_Field::DiffTMonitoring, DL_Detail::None, nullptr, DL_Solar},
    {14, DL_Format::None},
};

void DL_ResetCounters(std::uint8_t row)
{
    // Plain codes of rows 0 to 5, the reset selectors of rows 6 to 11.
    constexpr std::uint8_t kPlain[] = {232, 224, 224, 225, 226, 223};
    constexpr std::uint8_t kSolar[] = {7, 8, 12, 11, 13, 14};
    if (row < std::size(kPlain)) {
        DIS_UO_Plain(kPlain[row]);
    } else if (row < std::size(kPlain) + std::size(kSolar)) {
        DIS_UO_Reset(kSolar[row - std::size(kPlain)]);
    } else if (row == DL_RESET_ROWS - 1) {
        // Only what the plant has: the control unit's flags say which.
        if ((DAT_image.system[DAT_SYSTEM_FLAGS] & 0x01) != 0) {
            DIS_UO_Plain(232);
        }
        DIS_UO_Plain(226);
        DIS_UO_Plain(224);
        if (DAT_image.plant[3] == 1) {
            DIS_UO_Plain(225);
        }
        if ((DAT_image.plant[DAT_CFG_HOT_WATER] & 0x20) != 0) {
            DIS_UO_Plain(223);
        }
        if (DAT_HasSolarOption() && (DAT_image.solar[7] & 0x40) != 0) {
            for (std::uint8_t selector : {8, 7, 12, 11, 13, 14}) {
                DIS_UO_Reset(selector);
            }
        }
    }
}

std::uint16_t DL_ResetName(std::uint8_t row)
{
    return row == 0 ? 28 : DL_RESET_TABLE[row % DL_RESET_ROWS].label; // the list has no room for the whole name
}

bool DL_OneStage()
{
    return !DL_TwoStages();
}

bool DL_Circuit1()
{
    return DAT_CircuitPresent(1);
}

bool DL_Circuit2()
{
    return DAT_CircuitPresent(2);
}

bool DL_HotWater()
{
    return DAT_HasHotWaterOption();
}

bool DL_Solar()
{
    return DAT_HasSolarOption();
}

bool DL_TwoStages()
{
    return DAT_image.plant[3] == 1;
}

bool DL_HotWaterVariant1()
{
    return (DAT_image.plant[DAT_CFG_HOT_WATER] & 0x40) == 0;
}

bool DL_HotWaterVariant2()
{
    return !DL_HotWaterVariant1();
}

void DL_PowerOn()
{
    dl = Lists{};
}
