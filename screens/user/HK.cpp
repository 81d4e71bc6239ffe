// The heating curve and its chart, the circuit reset, the change of circuit.
#include "screens/user/HK.h"

#include <cstdio>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "screens/common/ML.h"
#include "screens/common/VD.h"

HK_Curve HK_curve{14, 0};

namespace {

constexpr std::int16_t kAxisX = 10; // flow axis, left end of the outdoor axis
constexpr std::int16_t kAxisY = 91; // outdoor axis, foot of the flow axis
constexpr std::int16_t kAxisEnd = 229;
constexpr std::int16_t kFlowTop = 38;
constexpr int kCurveHeight = 53; // 100 °C
constexpr int kCurvePoints = 219;
constexpr float kOutdoorSpan = 50.0F; // 20 .. -30 °C
constexpr int kRaisedBoxBelow = 16;   // flows lower than this get their box above the curve
constexpr std::uint16_t kTextKelvin = 142;
constexpr std::uint16_t kTextCelsius = 3;
constexpr std::uint16_t kTextFahrenheit = 4;
constexpr GUI_BOX kChartArea{0, 28, 239, 106};
constexpr GUI_BOX kUnitBox{214, 81, 234, 91};
constexpr GUI_BOX kTopLabelBox{15, 33, 42, 43};

// Heating time program after a reset: 06:00 to 22:00 on every day.
constexpr std::uint8_t kResetOn = 36; // ten-minute steps
constexpr std::uint8_t kResetOff = 132;
constexpr std::uint8_t kUnset = 255;
constexpr std::uint8_t kHeatingProgram = 0;
constexpr std::uint8_t kWholeWeek = 0; // day code of "Montag-Sonntag"
constexpr std::uint8_t kSwitchingType = 3;

int Height(float flow)
{
    return static_cast<int>(flow / 100.0F * kCurveHeight);
}

void Dotted(int x0, int y0, int x1, int y1)
{
    // Every second pixel, from the marker outwards.
    const int dx = x1 > x0 ? 1 : x1 < x0 ? -1 : 0;
    const int dy = y1 > y0 ? 1 : y1 < y0 ? -1 : 0;
    for (int x = x0, y = y0, i = 0;; x += dx, y += dy, ++i) {
        if (i % 2 == 0) {
            GUI_Pixel(x, y);
        }
        if (x == x1 && y == y1) {
            break;
        }
    }
}

void SmallText(const char* text, const GUI_BOX& box, int align)
{
    GUI_TextInBox(text, &box, align | GUI_ALIGN_VCENTER);
}

int TickX(int i)
{
    return kAxisX + static_cast<int>(static_cast<float>(i) * 21.9F);
}

void DrawAxes()
{
    static const char* const kCelsius[] = {"20", "10", "0", "-10", "-20", "-30"};
    static const char* const kFahrenheit[] = {"68", "50", "32", "14", "-4", "-22"};
    const bool fahrenheit = DAT_Fahrenheit();
    const char* const* labels = fahrenheit ? kFahrenheit : kCelsius;
    GUI_LineH(kAxisY, kAxisX, kAxisEnd);
    for (int i = 0; i <= 10; ++i) {
        GUI_LineV(TickX(i), kAxisY, i % 2 == 0 ? 95 : 93);
    }
    for (int k = 0; k < 6; ++k) {
        const int x = TickX(2 * k);
        const GUI_BOX label{static_cast<std::int16_t>(x - 10), 98, static_cast<std::int16_t>(x + 10), 106};
        SmallText(labels[k], label, GUI_ALIGN_HCENTER);
    }
    SmallText(TXT_GetText(fahrenheit ? kTextFahrenheit : kTextCelsius), kUnitBox, GUI_ALIGN_RIGHT);
    GUI_LineV(kAxisX, kFlowTop, kAxisY);
    for (int i = 0; i <= 4; ++i) {
        const int y = kAxisY - static_cast<int>(static_cast<float>(i) * 13.25F);
        GUI_LineH(y, i % 2 == 0 ? 6 : 8, kAxisX);
    }
    SmallText(fahrenheit ? "212" : "100", kTopLabelBox, GUI_ALIGN_HCENTER);
}

void DrawMarker(float room, int outdoor)
{
    const float flow = HK_CurveFlow(room, static_cast<float>(outdoor));
    const int h = Height(flow);
    const int x = static_cast<int>(static_cast<float>(20 - outdoor) / (kOutdoorSpan / kCurvePoints)) + kAxisX;
    const int y = kAxisY - h;
    Dotted(x, y, kAxisX, y);
    Dotted(x, y, x, kAxisY);
    GUI_FillArea(x - 1, y - 1, x + 1, y + 1);
    const bool above = h < kRaisedBoxBelow;
    const GUI_BOX box{static_cast<std::int16_t>(x + 8), static_cast<std::int16_t>(above ? y - 20 : y + 4),
                      static_cast<std::int16_t>(x + 35), static_cast<std::int16_t>(above ? y - 10 : y + 14)};
    if (above) {
        GUI_Line(x, y, box.x0, box.y1);
    }
    char text[8];
    FMT_Int(TMP_ToDisplay(static_cast<std::int16_t>(flow + 0.5F)), text);
    GUI_EraseBox(&box);
    SmallText(text, box, GUI_ALIGN_HCENTER);
    GUI_InvertArea(box.x0, box.y0, box.x1, box.y1);
}

void WriteResetProgram(std::uint8_t circuit)
{
    for (auto& day : DAT_image.switching[circuit - 1][kHeatingProgram]) {
        for (std::uint8_t i = 0; i < 8; ++i) {
            day[i] = kUnset;
        }
        day[0] = kResetOn;
        day[1] = kResetOff;
    }
    for (std::uint8_t phase = 0; phase < 4; ++phase) {
        const std::uint8_t on = phase == 0 ? kResetOn : kUnset;
        const std::uint8_t off = phase == 0 ? kResetOff : kUnset;
        DIS_UO_SwitchingTime(kSwitchingType, 0, phase, kHeatingProgram, kWholeWeek, on);
        DIS_UO_SwitchingTime(kSwitchingType, 1, phase, kHeatingProgram, kWholeWeek, off);
    }
}

void SelectNeighbour(int direction)
{
    std::uint8_t c = HK_Circuit();
    for (std::uint8_t tries = DAT_CircuitCount(); tries > 0; --tries) {
        c = static_cast<std::uint8_t>(direction < 0 ? (c == 1 ? 2 : c - 1) : (c == 2 ? 1 : c + 1));
        if (DAT_CircuitPresent(c)) {
            DAT_SelectCircuit(c);
            return;
        }
    }
}

} // namespace

float HK_CurveFlow(float roomSetpoint, float outdoor)
{
    const float d = outdoor - roomSetpoint;
    const float slope = static_cast<float>(HK_curve.slope) / 10.0F;
    float flow =
        roomSetpoint + static_cast<float>(HK_curve.level) - slope * d * (1.4347F + 0.021F * d + 0.0002479F * d * d);
    if (flow > 100.0F) {
        flow = 100.0F;
    }
    if (flow < 0.0F) {
        flow = 0.0F;
    }
    return flow;
}

void HK_DrawChart()
{
    GUI_EraseBox(&kChartArea);
    const GUI_FONTDEF* old = TXT_UseFontSmall();
    DrawAxes();
    const auto room = static_cast<float>(DAT_RoomSetTemperature());
    for (int i = 0; i < kCurvePoints; ++i) {
        const float outdoor = 20.0F - static_cast<float>(i) * kOutdoorSpan / kCurvePoints;
        GUI_Pixel(kAxisX + i, kAxisY - Height(HK_CurveFlow(room, outdoor)));
    }
    for (int outdoor = 10; outdoor >= -20; outdoor -= 10) {
        DrawMarker(room, outdoor);
    }
    GUI_SelectFont(old);
}

void HK_FormatSlope(std::uint8_t tenths, char* out, std::uint8_t size)
{
    std::snprintf(out, size, "%d%c%d", tenths / 10, TXT_GetDecimalSeparator(), tenths % 10);
}

void HK_FormatLevel(std::int8_t level, char* out, std::uint8_t size)
{
    char kelvin[16];
    TXT_CopyText(kTextKelvin, kelvin, sizeof kelvin);
    std::snprintf(out, size, "%d %s", level, kelvin);
}

void HK_ResetCircuit()
{
    const std::uint8_t circuit = HK_Circuit();
    DIS_UO_Reset(circuit); // asks the control unit for everything afresh
    WriteResetProgram(circuit);
    DIS_UO_HolidayEnded();
    DAT_SetCircuitByte(DAT_CIRCUIT_SLOPE, 14);
    DIS_UO_Slope(14);
    DAT_SetCircuitByte(DAT_CIRCUIT_LEVEL, 0);
    DIS_UO_Level(0);
    DAT_SetCircuitByte(DAT_CIRCUIT_EXTERNAL,
                       static_cast<std::uint8_t>(DAT_CircuitByte(DAT_CIRCUIT_EXTERNAL) & ~DAT_EXT_PROGRAM));
    DIS_UO_HeatingAndHotWater();
    DAT_SetCircuitByte(DAT_CIRCUIT_ROOM_SET, 20);
    DIS_UO_RoomTemperature(false, 20);
    DAT_SetCircuitByte(DAT_CIRCUIT_REDUCED_SET, 3);
    DIS_UO_RoomTemperature(true, 3);
    DIS_UO_PartyOff();
    DIS_UO_EconomyOff();
}

void HK_NextCircuit()
{
    SelectNeighbour(+1);
}

void HK_PrevCircuit()
{
    SelectNeighbour(-1);
}

std::uint8_t HK_Circuit()
{
    return DAT_CurrentCircuit();
}

void HK_DrawCircuitTitle()
{
    char name[TXT_LABEL_UTF8 + 4];
    TXT_CopyText(HK_Circuit() == 2 ? 117 : 116, name, sizeof name);
    TITLE_SetTextAndRight(name, DAT_CircuitCount() > 1 ? TXT_GetText(HK_Circuit() == 2 ? 131 : 130) : nullptr);
    TITLE_DrawLine();
}

void HK_PowerOn()
{
    HK_curve = HK_Curve{14, 0};
}
