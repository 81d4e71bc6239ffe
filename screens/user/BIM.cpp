// Information list. Every line reads the image when it is drawn, so the
// 5-second redraw follows the data; a value whose sensor is reported faulty
// shows as "---".
#include "screens/user/BIM.h"

#include <cstdio>
#include <utility>

#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

constexpr std::uint16_t kTitle = 135;
constexpr std::uint32_t kHelpPage = 23;
constexpr std::uint16_t kOn = 76;
constexpr std::uint16_t kOff = 24;
constexpr std::uint16_t kKwh = 156;
constexpr std::uint16_t kPercent = 1;
constexpr const char* kDetailsMark = "\xE2\x99\xAD"; // U+266D
constexpr std::uint8_t kCircuit1 = 3;
constexpr std::uint8_t kCircuit2 = 6;
constexpr std::uint8_t kEntries = 18;
constexpr GUI_BOX kDetailRows[4] = {{1, 29, 238, 52}, {1, 55, 238, 78}, {1, 81, 238, 104}, {1, 107, 238, 130}};

struct Module {
    SCR_Menu menu{0, 0, HINT_CHOOSE};
};

Module bim;

void DrawTemperature(const GUI_BOX* row, int celsius, bool fault)
{
    char text[24];
    FMT_TemperatureText(text, sizeof text, TMP_ToDisplay(static_cast<std::int16_t>(celsius)), fault);
    ML_DrawValue(row, text);
}

void DrawOnOff(const GUI_BOX* row, bool on)
{
    ML_DrawValue(row, TXT_GetText(on ? kOn : kOff));
}

void DrawNumber(const GUI_BOX* row, unsigned long value, std::uint16_t unit)
{
    char text[32];
    std::snprintf(text, sizeof text, "%lu %s", value, TXT_GetText(unit));
    ML_DrawValue(row, text);
}

void DrawCircuitName(const GUI_BOX* row, std::uint8_t circuit)
{
    // One text at a time: the texts share one buffer.
    char name[64];
    char shortForm[16] = "";
    char text[96];
    if (DAT_CircuitCount() >= 2) {
        std::snprintf(shortForm, sizeof shortForm, " %s", TXT_GetText(circuit == 2 ? 131 : 130));
    }
    TXT_CopyText(circuit == 2 ? 117 : 116, name, sizeof name);
    // The name gives way, so that the short form stays readable beside a long label.
    ML_CutToWidth(name, row->x1 - row->x0 + 1 - GUI_TextWidth(shortForm) - ML_TEXT_GAP - GUI_TextWidth(kDetailsMark));
    std::snprintf(text, sizeof text, "%s%s", name, shortForm);
    ML_DrawLeftRight(row, text, kDetailsMark);
}

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    switch (I) {
    case 0:
        ML_DrawName(row, 29);
        DrawTemperature(row, DAT_OutsideTemperature(), DAT_SensorFault(DAT_SENSOR_OUTSIDE));
        break;
    case 1:
        ML_DrawName(row, 150);
        DrawTemperature(row, DAT_BoilerTemperature(), DAT_BoilerSensorFault());
        break;
    case 2:
        ML_DrawName(row, 50);
        DrawOnOff(row, DAT_BurnerOn());
        break;
    case 3:
        DrawCircuitName(row, 1);
        break;
    case 4:
        ML_DrawName(row, 212);
        DrawTemperature(row, DAT_CircuitRoomTemperature(1), false);
        break;
    case 5:
        ML_DrawName(row, 121);
        DrawOnOff(row, DAT_CircuitPumpOn(1));
        break;
    case 6:
        DrawCircuitName(row, 2);
        break;
    case 7:
        ML_DrawName(row, 213);
        DrawTemperature(row, DAT_CircuitRoomTemperature(2), false);
        break;
    case 8:
        ML_DrawName(row, 281);
        DrawTemperature(row, DAT_Circuit2FlowTemperature(), DAT_SensorFault(DAT_SENSOR_FLOW));
        break;
    case 9:
        ML_DrawName(row, 122);
        DrawOnOff(row, DAT_CircuitPumpOn(2));
        break;
    case 10:
        ML_DrawName(row, 286);
        DrawTemperature(row, DAT_HotWaterTemperature(), DAT_SensorFault(DAT_SENSOR_HOT_WATER));
        break;
    case 11:
        ML_DrawName(row, 250);
        DrawOnOff(row, DAT_StoragePumpOn());
        break;
    case 12:
        ML_DrawName(row, 308);
        DrawOnOff(row, DAT_CirculationPumpOn());
        break;
    case 13:
        ML_DrawName(row, 237);
        DrawNumber(row, DAT_SolarEnergy(), kKwh);
        break;
    case 14:
        ML_DrawName(row, 152);
        DrawTemperature(row, DAT_CollectorTemperature(), (DAT_SolarFlags() & DAT_SOLAR_COLLECTOR_SENSOR) != 0);
        break;
    case 15:
        ML_DrawName(row, 287);
        DrawTemperature(row, DAT_SolarHotWaterTemperature(), (DAT_SolarFlags() & DAT_SOLAR_HOT_WATER_SENSOR) != 0);
        break;
    case 16:
        ML_DrawName(row, 238);
        DrawOnOff(row, (DAT_SolarFlags() & DAT_SOLAR_PUMP_ON) != 0);
        break;
    default:
        ML_DrawName(row, 73);
        DrawNumber(row, DAT_SolarPumpSpeed(), kPercent);
        break;
    }
}

template <std::uint8_t... I> void SetEntries(std::integer_sequence<std::uint8_t, I...>)
{
    (ML_SetEntry(I, Draw<I>), ...);
}

// Which lines the plant has.
void Visibility()
{
    const bool c1 = DAT_CircuitPresent(1);
    const bool c2 = DAT_CircuitPresent(2);
    const bool hotWater = DAT_HasHotWaterOption();
    const bool solar = DAT_HasSolarOption();
    const bool shown[kEntries] = {
        true,  true, true,     c1,       c1 && DAT_RemoteControl(1), c1,    c2,    c2 && DAT_RemoteControl(2),
        c2,    c2,   hotWater, hotWater, DAT_HasCirculationPump(),   solar, solar, solar,
        solar, false};
    for (std::uint8_t i = 0; i < kEntries; ++i) {
        ML_ShowEntry(i, shown[i] ? 1 : 0);
    }
}

bool OnCircuit()
{
    return ML_GetCursor() == kCircuit1 || ML_GetCursor() == kCircuit2;
}

void Title(const char* text, const char* right)
{
    TITLE_SetIcon(&bmInfo22, text, right);
    TITLE_DrawLine();
}

std::uint8_t DetailCircuit()
{
    return bim.menu.cursor == kCircuit2 ? 2 : 1;
}

std::uint16_t ProgramText()
{
    constexpr std::uint8_t kScreed = 0x08; // byte 3 of the circuit's status group
    const std::uint16_t mode = DAT_ModeWord();
    const std::uint8_t external = DAT_CircuitByte(DAT_CIRCUIT_EXTERNAL);
    if ((DAT_CircuitStatusByte(3) & kScreed) != 0) {
        return 85;
    }
    if ((external & DAT_EXT_SWITCHING) != 0) {
        return 91;
    }
    if ((mode & DAT_MODE_HOLIDAY) != 0) {
        return 95;
    }
    if ((external & DAT_EXT_PROGRAM) != 0) {
        return 93;
    }
    if ((mode & DAT_MODE_PARTY) != 0) {
        return 197;
    }
    if ((mode & DAT_MODE_ECONOMY) != 0) {
        return 249;
    }
    switch (DAT_OperatingProgram()) {
    case DAT_PROGRAM_HEATING:
        return 114;
    case DAT_PROGRAM_HOT_WATER_ONLY:
        return 193;
    case DAT_PROGRAM_SHUT_DOWN:
        return 10;
    default:
        return ML_NO_TEXT;
    }
}

std::uint16_t StatusText()
{
    constexpr std::uint8_t kNormal = 0x01; // byte 3 of the circuit's status group
    constexpr std::uint8_t kReduced = 0x02;
    const std::uint8_t flags = DAT_CircuitStatusByte(3);
    return (flags & kNormal) != 0 ? 192 : (flags & kReduced) != 0 ? 216 : 10;
}

void DrawDetails()
{
    const std::uint8_t circuit = DetailCircuit();
    GUI_EraseScreen();
    char name[64];
    TXT_CopyText(circuit == 2 ? 117 : 116, name, sizeof name);
    Title(name, DAT_CircuitCount() >= 2 ? TXT_GetText(circuit == 2 ? 131 : 130) : nullptr);
    const std::uint8_t saved = DAT_SelectedCircuit();
    DAT_SelectCircuit(circuit);
    const std::uint16_t program = ProgramText();
    const std::uint16_t status = StatusText();
    DAT_SelectCircuit(saved);
    GUI_TextInBox(TXT_GetText(41), &kDetailRows[0], GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    if (program != ML_NO_TEXT) {
        GUI_TextInBox(TXT_GetText(program), &kDetailRows[1], GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    }
    GUI_TextInBox(TXT_GetText(44), &kDetailRows[2], GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    GUI_TextInBox(TXT_GetText(status), &kDetailRows[3], GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    HINT_SetText(HINT_BACK);
}

} // namespace

SM_State BIM_InformationMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BIM_InformationMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        GUI_EraseScreen();
        SetEntries(std::make_integer_sequence<std::uint8_t, kEntries>{});
        ML_SetCount(kEntries);
        Visibility();
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bim.menu, e->par)) {
            ML_RestorePosition(bim.menu.firstRow, bim.menu.cursor);
        }
        Visibility();
        GUI_EraseScreen();
        Title(TXT_GetText(kTitle), nullptr);
        ML_Draw();
        HINT_SetText(bim.menu.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bim.menu);
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
        if (e->sig == SIG_KEY_UP) {
            ML_CursorUp();
        } else {
            ML_CursorDown();
        }
        if (OnCircuit()) {
            SCR_MenuHint(bim.menu, HINT_CONTINUE_OK);
        } else {
            SM_Post(DTM_Task, SIG_TMR_HINT_SET, 0);
            SCR_MenuHint(bim.menu, HINT_CHOOSE);
        }
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
        if (OnCircuit()) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BIM_ShowInformationShowMenue, SCR_FROM_PARENT);
        }
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGA_Grundanzeige, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bim.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_TICK_5S:
        Visibility();
        ML_Draw();
        LCD_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State BIM_ShowInformationShowMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BIM_ShowInformationShowMenue", e);
    switch (e->sig) {
    case SIG_INIT:
        DrawDetails();
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BIM_InformationMenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TICK_5S:
        DrawDetails();
        LCD_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

void BIM_PowerOn()
{
    bim = Module{};
}
