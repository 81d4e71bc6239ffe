// Contrast screen. The root state steps the contrast (so that the contrast
// keys work on every screen) and answers with SIG_CONTRAST_CHANGED; this
// screen draws the bar and, on BACK before OK, puts the opening contrast back.
#include "screens/user/BEK.h"

#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BEM.h"

namespace {

constexpr std::uint16_t kTitle = 154;
constexpr std::uint32_t kHelpPage = 107;
constexpr std::uint8_t kRepeatRate = 14;
constexpr std::uint8_t kMin = 0;
constexpr GUI_BOX kMinus{0, 71, 19, 86};
constexpr GUI_BOX kPlus{220, 71, 239, 86};
constexpr GUI_BOX kBar{20, 71, 219, 86};
constexpr int kTicks[] = {20, 70, 120, 169, 219};

struct Module {
    std::uint8_t atOpen = 0;
    std::uint8_t hint = HINT_CHANGE_LR;
};

Module bek;

void DrawBar()
{
    BEK_DrawBar(LCD_GetContrast(), kMin, LCD_ContrastMax());
}

void DrawScreen()
{
    GUI_EraseScreen();
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
    BEK_DrawScale();
    DrawBar();
    HINT_SetText(bek.hint);
}

void SetHint(std::uint8_t hint, bool arm)
{
    bek.hint = hint;
    SCR_Hint(hint, arm);
}

void Leave(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BEM_EinstellungenMenue, SCR_FROM_CHILD);
}

} // namespace

void BEK_DrawScale()
{
    GUI_TextInBox("-", &kMinus, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    GUI_TextInBox("+", &kPlus, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    GUI_FrameArea(20, 87, 219, 94);
    for (const int x : kTicks) {
        GUI_LineV(x, 87, 94);
    }
}

void BEK_DrawBar(int value, int min, int max)
{
    GUI_EraseBox(&kBar);
    GUI_FrameArea(kBar.x0, kBar.y0, kBar.x1, kBar.y1);
    GUI_FillArea(kBar.x0, kBar.y0, BEK_BarEnd(kBar.x0, kBar.x1 - kBar.x0, value, min, max), kBar.y1);
}

int BEK_BarEnd(int x0, int width, int value, int min, int max)
{
    if (max <= min) {
        return value >= max ? x0 + width : x0;
    }
    if (value < min) {
        value = min;
    }
    if (value > max) {
        value = max;
    }
    return x0 + width * (value - min) / (max - min);
}

SM_State BEK_EinstellungKontrast(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BEK_EinstellungKontrast", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT) {
            bek.atOpen = LCD_GetContrast();
            bek.hint = HINT_CHANGE_LR;
        } else if (bek.hint != HINT_TAKEN_OVER) {
            bek.hint = HINT_CHANGE_LR;
        }
        DrawScreen();
        LCD_Refresh();
        SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, kRepeatRate);
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
        SetHint(HINT_TAKE_OVER_OK, true);
        if (LCD_GetContrast() < LCD_ContrastMax()) {
            SM_DispatchSignal(me, SIG_CONTRAST_UP, 0);
        }
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
        SetHint(HINT_TAKE_OVER_OK, true);
        if (LCD_GetContrast() > kMin) {
            SM_DispatchSignal(me, SIG_CONTRAST_DOWN, 0);
        }
        LCD_Refresh();
        return nullptr;
    case SIG_CONTRAST_CHANGED:
        DrawBar();
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_OK:
        if (bek.hint == HINT_TAKEN_OVER) {
            Leave(me);
            return nullptr;
        }
        SM_DispatchSignal(me, SIG_CONTRAST_SET, LCD_GetContrast());
        bek.atOpen = LCD_GetContrast(); // a BACK after further steps comes back to it
        SetHint(HINT_TAKEN_OVER, true);
        HINT_Refresh();
        return nullptr;
    case SIG_KEY_BACK:
        if (bek.hint != HINT_TAKEN_OVER) {
            LCD_SetContrast(bek.atOpen); // the settings keep the last step
        }
        Leave(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        if (bek.hint == HINT_TAKEN_OVER) {
            Leave(me);
            return nullptr;
        }
        SetHint(HINT_CHANGE_LR, false);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

void BEK_PowerOn()
{
    bek = Module{};
}
