// Brightness of operation and of the screensaver. The backlight task holds
// its level while a screen is open and shows each step; leaving lets it
// regulate again from the stored values.
#include "screens/user/BEH.h"

#include "comm/DIS_UserOps.h"
#include "core/BKL.h"
#include "data/FLS.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BEK.h"
#include "screens/user/BHM.h"

namespace {

enum Which : std::uint8_t { kOperation, kScreensaver };

struct Kind {
    const char* name;
    std::uint16_t label;
    FLS_Setting min;
    FLS_Setting max;
    std::uint32_t help;
};

const Kind kKinds[2] = {
    {"BEH_HelligkeitBedienung", 32, FLS_BRIGHTNESS_MIN, FLS_BRIGHTNESS_MAX, 112},
    {"BEH_HelligkeitRuheanimation", 70, FLS_SCREENSAVER_MIN, FLS_SCREENSAVER_MAX, 113},
};

constexpr std::uint16_t kTitle = 128;
constexpr std::uint8_t kRepeatRate = 14;
constexpr GUI_BOX kLabel{1, 29, 238, 52};

struct Module {
    std::uint8_t value = 0;
    std::uint8_t hint = HINT_CHANGE_LR;
};

Module beh;

std::uint8_t Stored(Which w)
{
    return w == kOperation ? BKL_OperatingBrightness() : BKL_ScreensaverBrightness();
}

void DrawBar(Which w)
{
    BEK_DrawBar(beh.value, FLS_GetSetting(kKinds[w].min), FLS_GetSetting(kKinds[w].max));
}

void DrawScreen(Which w)
{
    GUI_EraseScreen();
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
    GUI_TextInBox(TXT_GetText(kKinds[w].label), &kLabel, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    BEK_DrawScale();
    DrawBar(w);
    HINT_SetText(beh.hint);
}

void SetHint(std::uint8_t hint, bool arm)
{
    beh.hint = hint;
    SCR_Hint(hint, arm);
}

void Leave(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BHM_HelligkeitMenue, SCR_FROM_CHILD);
}

void Step(Which w, int delta)
{
    SetHint(HINT_TAKE_OVER_OK, true);
    const int min = FLS_GetSetting(kKinds[w].min);
    const int max = FLS_GetSetting(kKinds[w].max);
    const int next = beh.value + delta;
    if (next >= min && next <= max) {
        beh.value = static_cast<std::uint8_t>(next);
        SM_Post(BKL_Task, SIG_LIGHT_LEVEL, beh.value);
        DrawBar(w);
    }
    LCD_Refresh();
}

SM_State Screen(SM_Hsm* me, const SM_Event* e, Which w)
{
    SCR_Trace(kKinds[w].name, e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(BKL_Task, SIG_LIGHT_HOLD, 0);
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT) {
            beh.value = Stored(w);
            beh.hint = HINT_CHANGE_LR;
        } else if (beh.hint != HINT_TAKEN_OVER) {
            beh.hint = HINT_CHANGE_LR;
        }
        DrawScreen(w);
        LCD_Refresh();
        SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, kRepeatRate);
        return nullptr;
    case SIG_EXIT:
        SM_Post(BKL_Task, SIG_LIGHT_ON_NOW, 0);
        SM_Post(BKL_Task, SIG_LIGHT_AUTO, 0);
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
        Step(w, 1);
        return nullptr;
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
        Step(w, -1);
        return nullptr;
    case SIG_KEY_OK:
        if (beh.hint == HINT_TAKEN_OVER) {
            Leave(me);
            return nullptr;
        }
        if (w == kOperation) {
            BKL_SetBrightnessSettings(beh.value, BKL_ScreensaverBrightness());
        } else {
            BKL_SetBrightnessSettings(BKL_OperatingBrightness(), beh.value);
        }
        DIS_UO_Brightness(w == kOperation, beh.value);
        SetHint(HINT_TAKEN_OVER, true);
        HINT_Refresh();
        return nullptr;
    case SIG_KEY_BACK:
        Leave(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        if (beh.hint == HINT_TAKEN_OVER) {
            Leave(me);
            return nullptr;
        }
        SetHint(HINT_CHANGE_LR, false);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kKinds[w].help);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

} // namespace

SM_State BEH_HelligkeitBedienung(SM_Hsm* me, const SM_Event* e)
{
    return Screen(me, e, kOperation);
}

SM_State BEH_HelligkeitRuheanimation(SM_Hsm* me, const SM_Event* e)
{
    return Screen(me, e, kScreensaver);
}

void BEH_PowerOn()
{
    beh = Module{};
}
