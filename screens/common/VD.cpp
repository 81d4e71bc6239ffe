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
    char text[32];
    int n = blank ? std::snprintf(text, sizeof text, "%s", TXT_GetText(0)) : FMT_Int(value, text);
    n +=
        std::snprintf(text + n, sizeof text - static_cast<std::size_t>(n), "%s", TXT_GetText(DAT_Fahrenheit() ? 4 : 3));
    const std::size_t length = static_cast<std::size_t>(n) < size ? static_cast<std::size_t>(n) : size - 1;
    std::memcpy(buf, text, length);
    buf[length] = '\0';
    return static_cast<int>(length);
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
