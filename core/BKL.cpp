// Backlight task (task 2).
#include "core/BKL.h"

#include "hal/HAL.h"

namespace {

enum Mode : std::uint32_t { kRegulate = 0, kFade = 1, kHold = 2 };

// Defaults used while the data flash holds no valid settings.
constexpr std::uint8_t kDefaultOperating = 168;
constexpr std::uint8_t kDefaultScreensaver = 24;

struct Backlight {
    std::uint8_t target = 0;
    std::uint8_t current = 0;
    std::uint32_t mode = kRegulate;
    std::uint8_t operating = kDefaultOperating;
    std::uint8_t screensaver = kDefaultScreensaver;
};

Backlight bkl;

void Apply()
{
    HAL_SetBrightness(bkl.current);
}

void SetNow(std::uint8_t level)
{
    bkl.target = bkl.current = level;
    Apply();
}

} // namespace

SM_State BKL_Backlight(SM_Hsm*, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        bkl.target = bkl.current = 0;
        bkl.mode = kRegulate;
        return nullptr;
    case SIG_INIT:
        HAL_BacklightInit();
        HAL_BacklightPwmInit();
        HAL_BacklightPwmStart();
        return nullptr;
    case SIG_EXIT:
        HAL_BacklightRelease();
        return nullptr;
    case SIG_LIGHT_OFF:
        SetNow(0);
        bkl.mode = kRegulate;
        return nullptr;
    case SIG_LIGHT_DIM:
        bkl.target = bkl.screensaver;
        bkl.mode = kFade;
        return nullptr;
    case SIG_LIGHT_DIM_NOW:
        SetNow(bkl.screensaver);
        bkl.mode = kRegulate;
        return nullptr;
    case SIG_LIGHT_ON:
        bkl.target = bkl.operating;
        bkl.mode = kFade;
        return nullptr;
    case SIG_LIGHT_ON_NOW:
        SetNow(bkl.operating);
        bkl.mode = kRegulate;
        return nullptr;
    case SIG_LIGHT_LEVEL:
        SetNow(static_cast<std::uint8_t>(e->par));
        return nullptr;
    case SIG_LIGHT_HOLD:
        bkl.mode = kHold;
        return nullptr;
    case SIG_LIGHT_AUTO:
        bkl.mode = kRegulate;
        return nullptr;
    default:
        return SM_Top;
    }
}

void BKL_Step(std::uint32_t v)
{
    if (bkl.mode == kFade) {
        if (bkl.current == bkl.target) {
            bkl.mode = kRegulate;
        } else if (bkl.current < bkl.target) {
            if (bkl.current < 240) {
                ++bkl.current;
                Apply();
            }
        } else if (bkl.current >= 2) {
            --bkl.current;
            Apply();
        }
        return;
    }
    if (bkl.mode == kRegulate) {
        if (bkl.target < 2 * v) {
            HAL_BacklightStepDown();
        } else if (bkl.target > 2 * v) {
            HAL_BacklightStepUp();
        }
    }
}

void BKL_SetBrightnessSettings(std::uint8_t operating, std::uint8_t screensaver)
{
    bkl.operating = operating;
    bkl.screensaver = screensaver;
}

std::uint8_t BKL_OperatingBrightness()
{
    return bkl.operating;
}

std::uint8_t BKL_ScreensaverBrightness()
{
    return bkl.screensaver;
}

std::uint8_t BKL_CurrentLevel()
{
    return bkl.current;
}

void BKL_PowerOn()
{
    bkl = Backlight{};
}
