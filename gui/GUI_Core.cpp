// The drawing context, its modes, and the layer's time.
#include <cstdint>

#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "hal/host.h"

namespace {

// UTF-8 from power-on: a host may convert text through the layer before the
// panel has started it.
constexpr GUI_CONTEXT PowerOnContext()
{
    GUI_CONTEXT c{};
    c.encoding = &GUI_EncodingUtf8;
    return c;
}

} // namespace

GUI_CONTEXT GUI_Context = PowerOnContext();

int GUI_Start()
{
    GUI_Context = GUI_CONTEXT{};
    GUI_Context.background = 0x000000;
    GUI_Context.foreground = 0xFFFFFF;
    GUI_SetClip(nullptr);
    GUI_Context.textClip = &GUI_Context.clip;
    GUI_Context.penWidth = 1;
    GUI_Context.font = TXT_FontNormal();
    GUI_Context.encoding = &GUI_EncodingSingleByte;
    GUI_Context.requestedForeground = 0xFFFFFF;
    GUI_Context.requestedBackground = 0x000000;
    GUI_EraseScreen();
    return 0;
}

void GUI_Sleep(int ms)
{
    const std::uint32_t end = GUI_GetTime() + static_cast<std::uint32_t>(ms);
    // Signed difference: a host that overshoots ends the wait instead of
    // wrapping into an almost endless one.
    for (;;) {
        const auto remaining = static_cast<std::int32_t>(end - GUI_GetTime());
        if (remaining < 1) {
            return;
        }
        HOST().sleep(remaining < 5 ? static_cast<std::uint32_t>(remaining) : 5U);
    }
}

std::uint32_t GUI_GetTime()
{
    return HOST().milliseconds();
}

void GUI_ReportError(const char* text)
{
    HOST().reportError(text);
}

std::uint8_t GUI_SelectDrawMode(std::uint8_t mode)
{
    const std::uint8_t old = GUI_Context.drawMode;
    // Reverse mode is the colour pair swapped: every change of the bit swaps.
    if (((old ^ mode) & GUI_MODE_REV) != 0) {
        const std::uint32_t fg = GUI_Context.foreground;
        GUI_Context.foreground = GUI_Context.background;
        GUI_Context.background = fg;
    }
    GUI_Context.drawMode = mode;
    return old;
}

std::uint8_t GUI_SelectPenWidth(std::uint8_t width)
{
    const std::uint8_t old = GUI_Context.penWidth;
    GUI_Context.penWidth = width;
    return old;
}

std::uint8_t GUI_SelectLineStyle(std::uint8_t style)
{
    const std::uint8_t old = GUI_Context.lineStyle;
    GUI_Context.lineStyle = style;
    return old;
}

const GUI_FONTDEF* GUI_SelectFont(const GUI_FONTDEF* font)
{
    const GUI_FONTDEF* old = GUI_Context.font;
    if (font != nullptr) {
        GUI_Context.font = font;
    }
    return old;
}

int GUI_SelectTextMode(int mode)
{
    const int old = GUI_Context.textMode;
    GUI_Context.textMode = static_cast<std::int16_t>(mode);
    return old;
}

int GUI_SelectTextAlign(int align)
{
    const int old = GUI_Context.textAlign;
    GUI_Context.textAlign = static_cast<std::uint16_t>(align);
    return old;
}

void GUI_SetTextPos(int x, int y)
{
    GUI_Context.textX = static_cast<std::int16_t>(x);
    GUI_Context.textY = static_cast<std::int16_t>(y);
}

void GUI_SetClip(const GUI_BOX* box)
{
    GUI_Context.clip = box != nullptr ? *box : GUI_BOX{0, 0, LCD_XSIZE - 1, LCD_YSIZE - 1};
}

void GUI_PowerOn()
{
    GUI_Context = PowerOnContext();
}
