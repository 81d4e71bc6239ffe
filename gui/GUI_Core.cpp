// Set-up and time of the drawing layer.
#include <cstdint>

#include "gui/GUI.h"
#include "gui/LCD.h"
#include "hal/host.h"

int GUI_Start()
{
    LCD_Clear();
    return 0;
}

void GUI_UseUtf8() {}

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
