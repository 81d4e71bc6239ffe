// Panel driver on the frame buffer.
#include "gui/LCD.h"

#include <algorithm>
#include <iterator>

#include "hal/HAL.h"
#include "hal/host.h"

std::uint32_t LCD_FRAMEBUFFER[LCD_XSIZE * LCD_YSIZE];

namespace {

constexpr std::uint8_t kContrastMax = 99;
constexpr std::uint8_t kContrastDefault = HAL_LCD_CONTRAST_DEFAULT;
constexpr int kCacheBytes = LCD_XSIZE * LCD_YSIZE / 8;

struct Lcd {
    std::uint8_t contrast = kContrastDefault;
    std::uint32_t rows[LCD_XSIZE * LCD_YSIZE]; // refresh staging, row-major
};

Lcd lcd;

std::uint32_t& Cell(int x, int y)
{
    return LCD_FRAMEBUFFER[x * LCD_YSIZE + y];
}

template <typename Pattern> void FillPattern(Pattern on)
{
    for (int x = 0; x < LCD_XSIZE; ++x) {
        for (int y = 0; y < LCD_YSIZE; ++y) {
            Cell(x, y) = on(x, y) ? 1U : 0U;
        }
    }
    LCD_Refresh();
}

void ApplyContrast()
{
    HAL_SetLcdOnColor(LCD_ContrastGrey(lcd.contrast));
}

} // namespace

void LCD_Clear()
{
    std::fill(std::begin(LCD_FRAMEBUFFER), std::end(LCD_FRAMEBUFFER), 0U);
}

void LCD_Refresh()
{
    const GUI_BOX all{0, 0, LCD_XSIZE - 1, LCD_YSIZE - 1};
    LCD_RefreshBox(&all);
}

void LCD_RefreshBox(const GUI_BOX* box)
{
    const int x0 = std::max<int>(box->x0, 0);
    const int y0 = std::max<int>(box->y0, 0);
    const int x1 = std::min<int>(box->x1, LCD_XSIZE - 1);
    const int y1 = std::min<int>(box->y1, LCD_YSIZE - 1);
    if (x0 > x1 || y0 > y1) {
        return;
    }
    const std::uint32_t on = HAL_LcdOnColor();
    const std::uint32_t off = HAL_LcdOffColor();
    const std::uint32_t flip = on ^ off;
    const int w = x1 - x0 + 1;
    const int h = y1 - y0 + 1;
    // The frame buffer is column-major, the display row-major. Branch-free
    // select: a real screen is as irregular as a checker board.
    for (int y = y0; y <= y1; ++y) {
        const std::uint32_t* cell = &LCD_FRAMEBUFFER[x0 * LCD_YSIZE + y];
        std::uint32_t* out = &lcd.rows[(y - y0) * w];
        for (int i = 0; i < w; ++i) {
            out[i] = off ^ (flip & (0U - static_cast<std::uint32_t>(cell[i * LCD_YSIZE] != 0)));
        }
    }
    HOST().lcdWrite(x0, y0, w, h, lcd.rows);
}

std::uint8_t LCD_GetContrast()
{
    return lcd.contrast;
}

void LCD_SetContrast(std::uint8_t value)
{
    lcd.contrast = std::min(value, kContrastMax);
    ApplyContrast();
}

void LCD_BacklightChanged(std::uint32_t level)
{
    if (level >= 4) {
        ApplyContrast();
    }
    LCD_Refresh();
}

std::uint8_t LCD_ContrastUp()
{
    lcd.contrast = lcd.contrast >= kContrastMax ? 0 : static_cast<std::uint8_t>(lcd.contrast + 1);
    ApplyContrast();
    LCD_Refresh();
    return lcd.contrast;
}

std::uint8_t LCD_ContrastDown()
{
    lcd.contrast = lcd.contrast == 0 ? kContrastMax : static_cast<std::uint8_t>(lcd.contrast - 1);
    ApplyContrast();
    LCD_Refresh();
    return lcd.contrast;
}

std::uint8_t LCD_ContrastMax()
{
    return kContrastMax;
}

std::uint8_t LCD_ContrastDefault()
{
    return kContrastDefault;
}

std::uint32_t LCD_ContrastGrey(std::uint8_t contrast)
{
    const std::uint32_t level = 156U + std::min(contrast, kContrastMax);
    return level << 16 | level << 8 | level;
}

void LCD_TestAllOff()
{
    FillPattern([](int, int) { return false; });
}

void LCD_TestAllOn()
{
    FillPattern([](int, int) { return true; });
}

void LCD_TestChecker()
{
    FillPattern([](int x, int y) { return ((x >> 3) & 1) == ((y >> 3) & 1); });
}

void LCD_TestCheckerInv()
{
    FillPattern([](int x, int y) { return ((x >> 3) & 1) != ((y >> 3) & 1); });
}

void LCD_TestColumns()
{
    FillPattern([](int x, int) { return (x & 1) != 0; });
}

void LCD_TestColumnsInv()
{
    FillPattern([](int x, int) { return (x & 1) == 0; });
}

void LCD_WriteCacheByte(std::uint16_t index, std::uint8_t bits)
{
    if (index >= kCacheBytes) {
        return;
    }
    for (int i = 0; i < 8; ++i) {
        const int p = index * 8 + i;
        Cell(p % LCD_XSIZE, p / LCD_XSIZE) = (bits & (0x80 >> i)) != 0 ? 1U : 0U;
    }
}

std::uint8_t LCD_ReadCacheByte(std::uint16_t index)
{
    if (index >= kCacheBytes) {
        return 0;
    }
    std::uint8_t bits = 0;
    for (int i = 0; i < 8; ++i) {
        const int p = index * 8 + i;
        if (Cell(p % LCD_XSIZE, p / LCD_XSIZE) != 0) {
            bits = static_cast<std::uint8_t>(bits | (0x80 >> i));
        }
    }
    return bits;
}

std::uint32_t LCD_GetProperty(int id)
{
    switch (id) {
    case 0:
        return 0x1000000;
    case 1:
    case 3:
        return LCD_XSIZE;
    case 2:
    case 4:
        return LCD_YSIZE;
    case 7:
        return 7529;
    case 8:
        return 24;
    default:
        break;
    }
    if (id >= 4096 && id < 4096 + 0x1000000) {
        return static_cast<std::uint32_t>(id - 4096);
    }
    return 0;
}

void LCD_PowerOn()
{
    std::fill(std::begin(LCD_FRAMEBUFFER), std::end(LCD_FRAMEBUFFER), 0U);
    std::fill(std::begin(lcd.rows), std::end(lcd.rows), 0U);
    lcd.contrast = kContrastDefault;
}
