// Picture types of the drawing layer, and the system's icons.
#pragma once

#include <cstdint>

// Colour table of a picture. The icons use two entries without colours:
// bit 0 then draws the context's background, bit 1 its foreground.
struct GUI_PALETTE {
    std::int32_t numEntries;
    std::uint8_t hasTransparency; // non-zero: background bits leave the display alone
    const std::uint32_t* colors;  // 0xRRGGBB per entry, or nullptr
};

// Draws a picture whose data are not plain rows (e.g. compressed): position,
// size, bytes per row, bits per pixel, data, palette, x and y magnification.
using GUI_PICTURE_METHOD = void (*)(int x0, int y0, int width, int height, int bytesPerRow, int bitsPerPixel,
                                    const std::uint8_t* data, const GUI_PALETTE* palette, int xMag, int yMag);

// Constant picture. Rows run top to bottom; in a 1-bit row the most
// significant bit of the first byte is the leftmost pixel.
struct GUI_PICTURE {
    std::uint16_t width;
    std::uint16_t height;
    std::uint16_t bytesPerRow;
    std::uint16_t bitsPerPixel; // 1, 2, 4, 8, 16, 24 or 32
    const std::uint8_t* data;
    const GUI_PALETTE* palette;
    GUI_PICTURE_METHOD method; // nullptr for plain rows
};

// The icons: 1 bit per pixel, generated from assets/icons by tools/icongen.
// docs/icons.png shows them all.

// 45 x 45: operating-state pictures of the base display and the heating menu
extern const GUI_PICTURE bmFault45;       // warning triangle with exclamation mark (fault)
extern const GUI_PICTURE bmMaintenance45; // wrench (maintenance due)
extern const GUI_PICTURE bmHeating45;     // radiator (heating)
extern const GUI_PICTURE bmHotWater45;    // water tap with a drop (hot water)
extern const GUI_PICTURE bmSolar45;       // sun over a solar collector (solar energy)
extern const GUI_PICTURE bmInfo45;        // letter i in a circle (information)
extern const GUI_PICTURE bmFlueGasTest45; // chimney on a roof with a measuring probe (flue-gas test)
extern const GUI_PICTURE bmHelp45;        // question mark in a circle (help)
extern const GUI_PICTURE bmRoomTemp45;    // house with a thermometer (room temperature)
extern const GUI_PICTURE bmProgramOff45;  // power symbol (operating program off)
extern const GUI_PICTURE bmParty45;       // cocktail glass with straw (party mode)
extern const GUI_PICTURE bmEconomy45;     // leaf (economy mode)

// 45 x 77: operating program "heating and hot water" in the heating menu
extern const GUI_PICTURE bmHeatingHotWater45x77; // radiator above a water tap (heating and hot water)

// 22 x 22: menu rows, titles and the coding level
extern const GUI_PICTURE bmFault22;       // warning triangle with exclamation mark (fault)
extern const GUI_PICTURE bmMaintenance22; // wrench (maintenance)
extern const GUI_PICTURE bmHeating22;     // radiator (heating)
extern const GUI_PICTURE bmHotWater22;    // water tap with a drop (hot water)
extern const GUI_PICTURE bmInfo22;        // letter i in a circle (information)
extern const GUI_PICTURE bmSettings22;    // gear wheel (settings)
extern const GUI_PICTURE bmService22;     // screwdriver crossed with a wrench (service)
extern const GUI_PICTURE bmDiagnosis22;   // magnifying glass (diagnosis)
extern const GUI_PICTURE bmCalibration22; // gauge with a needle (calibration or burner set-up active)

// 24 x 24: start-up screen
extern const GUI_PICTURE bmLink24; // two opposed arrows (link to the control unit)

// 23 x 13: bar markers of the maximum-output screens
extern const GUI_PICTURE bmMarkerDownActive23; // solid triangle pointing down (upper bar marker, being adjusted)
extern const GUI_PICTURE bmMarkerDownIdle23;   // outlined triangle pointing down (upper bar marker)
extern const GUI_PICTURE bmMarkerUpActive23;   // solid triangle pointing up (lower bar marker, being adjusted)
extern const GUI_PICTURE bmMarkerUpIdle23;     // outlined triangle pointing up (lower bar marker)

// 58 x 58: fault and maintenance messages
extern const GUI_PICTURE bmFault58;       // warning triangle with exclamation mark (fault message)
extern const GUI_PICTURE bmMaintenance58; // wrench (maintenance message)

// 16 x 36 and 36 x 16: the hourglass wait animation, in order
extern const GUI_PICTURE bmHourglass00; // hourglass, all sand in the upper bulb (wait animation frame 0)
extern const GUI_PICTURE bmHourglass01; // hourglass, sand running down (wait animation frame 1)
extern const GUI_PICTURE bmHourglass02; // hourglass, sand running down (wait animation frame 2)
extern const GUI_PICTURE bmHourglass03; // hourglass, sand running down (wait animation frame 3)
extern const GUI_PICTURE bmHourglass04; // hourglass, sand running down (wait animation frame 4)
extern const GUI_PICTURE bmHourglass05; // hourglass, sand running down (wait animation frame 5)
extern const GUI_PICTURE bmHourglass06; // hourglass, sand running down (wait animation frame 6)
extern const GUI_PICTURE bmHourglass07; // hourglass, sand running down (wait animation frame 7)
extern const GUI_PICTURE bmHourglass08; // hourglass, sand running down (wait animation frame 8)
extern const GUI_PICTURE bmHourglass09; // hourglass, sand running down (wait animation frame 9)
extern const GUI_PICTURE bmHourglass10; // hourglass, sand running down (wait animation frame 10)
extern const GUI_PICTURE bmHourglass11; // hourglass, sand running down (wait animation frame 11)
extern const GUI_PICTURE bmHourglass12; // hourglass, sand running down (wait animation frame 12)
extern const GUI_PICTURE bmHourglass13; // hourglass, sand running down (wait animation frame 13)
extern const GUI_PICTURE bmHourglass14; // hourglass, sand running down (wait animation frame 14)
extern const GUI_PICTURE bmHourglass15; // hourglass, all sand in the lower bulb (wait animation frame 15)
extern const GUI_PICTURE bmHourglass16; // hourglass on its side while it is turned over (wait animation frame 16)

// 18 x 18 and 17 x 17: phase rows of the time programs
extern const GUI_PICTURE bmPhase1_18;  // digit 1 on a round badge (switching phase 1)
extern const GUI_PICTURE bmPhase2_18;  // digit 2 on a round badge (switching phase 2)
extern const GUI_PICTURE bmPhase3_18;  // digit 3 on a round badge (switching phase 3)
extern const GUI_PICTURE bmPhase4_18;  // digit 4 on a round badge (switching phase 4)
extern const GUI_PICTURE bmPhaseEnd17; // clock face (end of a switching phase)

// 28 x 22: burner symbol of the base display and the flue-gas test
extern const GUI_PICTURE bmBurner28; // flame over a burner bar (burner on)

// 19 x 1: separator rows of the settings screens
extern const GUI_PICTURE bmSeparator19;       // solid short line (separator row)
extern const GUI_PICTURE bmSeparatorDotted19; // dotted short line (separator row)

// Drawn by no screen
extern const GUI_PICTURE bmRoomTemp30; // house with a thermometer (not used by any screen)
extern const GUI_PICTURE bmSettings26; // gear wheel (not used by any screen)
