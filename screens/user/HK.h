// What the heating screens share: the heating curve with its chart, the
// slope and level texts, the circuit reset and the change of circuit.
#pragma once

#include <cstdint>

// The slope (tenths) and level (K) the chart and HK_CurveFlow work with:
// the heating-curve dialogs' working copies.
struct HK_Curve {
    std::uint8_t slope;
    std::int8_t level;
};
extern HK_Curve HK_curve;

inline constexpr std::uint8_t HK_SLOPE_MIN = 2;
inline constexpr std::uint8_t HK_SLOPE_MAX = 35;
inline constexpr std::int8_t HK_LEVEL_MIN = -13;
inline constexpr std::int8_t HK_LEVEL_MAX = 40;

// Flow temperature (°C, 0 to 100) at an outside temperature for a room set
// temperature, by the working curve.
float HK_CurveFlow(float roomSetpoint, float outdoor);
// The chart of the working curve in (0, 28, 239, 106), for the current
// circuit's room set temperature; refreshes nothing.
void HK_DrawChart();
// "1,4" with the language's separator; "-3 K".
void HK_FormatSlope(std::uint8_t tenths, char* out, std::uint8_t size);
void HK_FormatLevel(std::int8_t level, char* out, std::uint8_t size);

// Sets the current circuit back to its defaults, telling the control unit
// each step.
void HK_ResetCircuit();
void HK_NextCircuit();
void HK_PrevCircuit();
// The current circuit (the selected one, else the first present).
std::uint8_t HK_Circuit();
// "Heizkreis 1"/"Heizkreis 2" (or the user's label) left; with two circuits
// "HK1"/"HK2" right; the line.
void HK_DrawCircuitTitle();

// Static memory as at power-on (hosts that run several panels in one process).
void HK_PowerOn();
