// Panel driver: the 240 x 160 frame buffer, its refresh to the display,
// contrast, test patterns and byte-wise access.
#pragma once

#include <cstdint>

#include "gui/GUI.h"

inline constexpr int LCD_XSIZE = 240;
inline constexpr int LCD_YSIZE = 160;

// Column-major cells (index x * 160 + y); 0 is an off pixel.
extern std::uint32_t LCD_FRAMEBUFFER[LCD_XSIZE * LCD_YSIZE];

void LCD_Clear();
void LCD_Refresh();
void LCD_RefreshBox(const GUI_BOX* box);

std::uint8_t LCD_GetContrast();
void LCD_SetContrast(std::uint8_t value);
std::uint8_t LCD_ContrastUp();
std::uint8_t LCD_ContrastDown();
std::uint8_t LCD_ContrastMax();
std::uint8_t LCD_ContrastDefault();
// Grey level of a contrast: 156 + contrast in each of red, green and blue.
std::uint32_t LCD_ContrastGrey(std::uint8_t contrast);
// The hardware layer's backlight vector: a bright light shows the contrast's
// grey; the display shows the new colours at once.
void LCD_BacklightChanged(std::uint32_t level);

void LCD_TestAllOff();
void LCD_TestAllOn();
void LCD_TestChecker();
void LCD_TestCheckerInv();
void LCD_TestColumns();
void LCD_TestColumnsInv();

void LCD_WriteCacheByte(std::uint16_t index, std::uint8_t bits);
std::uint8_t LCD_ReadCacheByte(std::uint16_t index);

std::uint32_t LCD_GetProperty(int id);

// Static memory as at power-on (hosts that run several panels in one process).
void LCD_PowerOn();
