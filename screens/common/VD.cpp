// Number dialog, temperature formatting, common exit actions.
#include "screens/common/VD.h"

#include <cstdio>
#include <cstring>

#include "core/SM.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI_Font.h"

ValueDialog VD;

namespace {

std::int16_t Clamp(std::int16_t v, std::int16_t lo, std::int16_t hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

// Appends what fits of text at position `at` (below size) and terminates;
// returns the new position, never beyond size - 1.
std::size_t Append(char* buf, std::size_t size, std::size_t at, const char* text)
{
    const std::size_t length = std::strlen(text);
    const std::size_t n = length < size - 1 - at ? length : size - 1 - at;
    std::memcpy(buf + at, text, n);
    buf[at + n] = '\0';
    return at + n;
}

} // namespace

void VD_Setup(const ValueLimits* limits, VD_Format format, const GUI_BOX* box, const GUI_FONTDEF* font)
{
    VD.step = static_cast<std::int16_t>(limits->step < 0 ? -limits->step : limits->step);
    VD.min = limits->min;
    VD.max = limits->max;
    VD.value = Clamp(limits->value, limits->min, limits->max);
    VD.format = format;
    VD.box = box;
    VD.font = font;
}

void VD_SetBox(const GUI_BOX* box)
{
    VD.box = box;
}

std::int16_t VD_GetValue()
{
    return VD.value;
}

std::int16_t VD_GetStep()
{
    return VD.step;
}

std::int16_t VD_GetMin()
{
    return VD.min;
}

std::int16_t VD_GetMax()
{
    return VD.max;
}

void VD_Draw(int mode)
{
    if (VD.box == nullptr || VD.format == nullptr) {
        return;
    }
    const GUI_FONTDEF* oldFont = GUI_SelectFont(VD.font);
    const int oldMode = GUI_SelectTextMode(mode);
    if (mode == GUI_MODE_REV) {
        GUI_FillBox(VD.box);
    } else {
        GUI_EraseBox(VD.box);
    }
    const GUI_BOX inner{static_cast<std::int16_t>(VD.box->x0 + 1), VD.box->y0,
                        static_cast<std::int16_t>(VD.box->x1 - 1), VD.box->y1};
    VD.format(&inner, VD.value);
    GUI_SelectTextMode(oldMode);
    GUI_SelectFont(oldFont);
}

void VD_Increment()
{
    const int next = VD.value + VD.step;
    VD.value = static_cast<std::int16_t>(next > VD.max ? VD.max : next);
    VD_Draw(GUI_MODE_REV);
}

void VD_Decrement()
{
    const int next = VD.value - VD.step;
    VD.value = static_cast<std::int16_t>(next >= VD.min ? next : VD.min);
    VD_Draw(GUI_MODE_REV);
}

int FMT_Int(std::int16_t value, char* buf)
{
    return std::sprintf(buf, "%d", static_cast<int>(value));
}

int FMT_TemperatureText(char* buf, std::size_t size, std::int16_t value, bool blank)
{
    if (size == 0) {
        return 0;
    }
    // The texts come from the data flash and may be of any length: each part is cut to what is left.
    std::size_t n = 0;
    if (blank) {
        n = Append(buf, size, n, TXT_GetText(0));
    } else {
        char digits[8];
        FMT_Int(value, digits);
        n = Append(buf, size, n, digits);
    }
    n = Append(buf, size, n, TXT_GetText(DAT_Fahrenheit() ? 4 : 3));
    return static_cast<int>(n);
}

void FMT_Temperature(const GUI_BOX* box, std::int16_t value)
{
    char text[16];
    FMT_TemperatureText(text, sizeof text, value, false);
    GUI_TextInBox(text, box, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
}

std::int16_t TMP_ToDisplay(std::int16_t celsius)
{
    return DAT_Fahrenheit() ? static_cast<std::int16_t>(DAT_ToFahrenheit(celsius)) : celsius;
}

std::int16_t TMP_FromDisplay(std::int16_t shown)
{
    return DAT_Fahrenheit() ? static_cast<std::int16_t>(DAT_FromFahrenheit(shown)) : shown;
}

void SCR_ExitCommon()
{
    SM_Post(DTM_Task, SIG_TMR_HINT_SET, 0);
    SM_Post(KEY_Task, SIG_KEY_FLUSH, 0);
    SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, 0);
}

void VD_PowerOn()
{
    VD = ValueDialog{};
}
