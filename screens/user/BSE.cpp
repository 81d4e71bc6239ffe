// Solar energy chart. The bars are scaled by the largest of the eight days
// directly, never by a whole-number step per pixel: such a step is 0 for any
// week below 4.4 kWh, and would divide by zero.
#include "screens/user/BSE.h"

#include <cstdio>
#include <initializer_list>

#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/FMT_Date.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

constexpr std::uint16_t kTitle = 237;
constexpr std::uint16_t kUnit = 156; // "kWh"
constexpr std::uint32_t kHelpPage = 22;
constexpr std::uint8_t kDays = 8;
constexpr std::uint16_t kShortWeekday[7] = {174, 66, 167, 71, 99, 222, 234};
constexpr GUI_BOX kChart{0, 28, 239, 106};
constexpr GUI_BOX kScale{0, 36, 35, 80};
constexpr GUI_BOX kUnitBox{0, 107, 42, 130};
constexpr int kAxisX = 42;
constexpr int kTop = 36;
constexpr int kBottom = 80;
constexpr int kFullHeight = kBottom - kTop; // 44
constexpr int kFirstBarRight = 234;
constexpr int kBarWidth = 19;
constexpr int kBarPitch = 24;
constexpr std::uint8_t kBlinkShort = 4; // 0.4 s
constexpr std::uint8_t kBlinkLong = 8;

struct Module {
    std::uint8_t cursor = 0;
    std::uint8_t hint = HINT_CHOOSE_LR;
    bool mark = true;
    bool longPhase = false;
};

Module bse;

void FormatTenths(std::uint32_t tenths, char* out, std::size_t size)
{
    std::snprintf(out, size, "%lu%c%lu", static_cast<unsigned long>(tenths / 10), TXT_GetDecimalSeparator(),
                  static_cast<unsigned long>(tenths % 10));
}

std::uint32_t DayTenths(std::uint8_t day)
{
    return BSE_Tenths(DAT_SolarYield(day));
}

std::uint8_t WeekdayBack(std::uint8_t today, std::uint8_t days)
{
    // weekday 1 = Monday; counting back from today.
    return static_cast<std::uint8_t>((today - 1 + 7 * 2 - days % 7) % 7);
}

template <std::uint8_t I> void DrawDay(const GUI_BOX* row)
{
    DTM_Clock day = DTM_GetClock();
    DTM_AddDays(day, -static_cast<std::int32_t>(I));
    char text[24];
    FMT_DateTime(day, 1, text, sizeof text);
    GUI_TextInBox(text, row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    FormatTenths(DayTenths(I), text, sizeof text);
    ML_DrawValue(row, text);
}

void DrawBar(int x0, int x1, int height, bool filled)
{
    const int top = kBottom - height;
    if (filled) {
        GUI_FillArea(x0, top, x1, kBottom);
        return;
    }
    for (int y = top; y <= kBottom; ++y) {
        for (int x = x0 + ((y & 1) != 0 ? 1 : 0); x <= x1; x += 2) {
            GUI_Pixel(x, y);
        }
    }
}

void ArmBlink()
{
    bse.longPhase = !bse.longPhase;
    SM_Post(DTM_Task, SIG_TMR_DATA_SET, bse.longPhase ? kBlinkLong : kBlinkShort);
}

void FollowCursor()
{
    bse.cursor = ML_GetCursor();
    if (bse.cursor == 0) {
        ArmBlink();
    } else {
        SM_Post(DTM_Task, SIG_TMR_DATA_SET, 0);
        bse.mark = true;
    }
}

void DrawScreen()
{
    GUI_EraseScreen();
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
    BSE_DrawChart(bse.cursor, bse.mark);
    // The unit in the small font where a language's is wider than its place.
    const GUI_FONTDEF* old = GUI_TextWidth(TXT_GetText(kUnit)) > kUnitBox.x1 - kUnitBox.x0 + 1
                                 ? TXT_UseFontSmall()
                                 : GUI_SelectFont(TXT_FontNormal());
    GUI_TextInBox(TXT_GetText(kUnit), &kUnitBox, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    GUI_SelectFont(old);
    ML_Draw();
    HINT_SetText(bse.hint);
}

void Leave(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BGA_Grundanzeige, SCR_FROM_CHILD);
}

} // namespace

std::uint32_t BSE_Tenths(std::uint32_t wattHours)
{
    return static_cast<std::uint32_t>((static_cast<std::uint64_t>(wattHours) + 50) / 100);
}

int BSE_BarHeight(std::uint32_t tenths, std::uint32_t largest)
{
    if (largest == 0) {
        return 0;
    }
    if (tenths >= largest) {
        return kFullHeight;
    }
    return static_cast<int>(static_cast<std::uint64_t>(tenths) * kFullHeight / largest);
}

void BSE_DrawChart(std::uint8_t selected, bool mark)
{
    GUI_EraseBox(&kChart);
    std::uint32_t largest = 1; // at least a tenth: an empty week shows 0.1
    for (std::uint8_t d = 0; d < kDays; ++d) {
        if (DayTenths(d) > largest) {
            largest = DayTenths(d);
        }
    }
    GUI_LineV(kAxisX, kTop, kBottom);
    for (const int y : {kTop, (kTop + kBottom) / 2, kBottom}) {
        GUI_LineH(y, kAxisX - 4, kAxisX);
    }
    const GUI_FONTDEF* old = TXT_UseFontSmall();
    char text[24];
    FormatTenths(largest, text, sizeof text);
    GUI_TextInBox(text, &kScale, GUI_ALIGN_RIGHT | GUI_ALIGN_TOP);
    GUI_TextInBox("0", &kScale, GUI_ALIGN_RIGHT | GUI_ALIGN_BOTTOM);
    const std::uint8_t today = DTM_GetClock().weekday;
    for (std::uint8_t d = 0; d < kDays; ++d) {
        const int x1 = kFirstBarRight - kBarPitch * d;
        const int x0 = x1 - (kBarWidth - 1);
        const int height = BSE_BarHeight(DayTenths(d), largest);
        DrawBar(x0, x1, height, d == selected);
        if (d == 0 && selected == 0 && mark) {
            GUI_LineH(kBottom - height - 2, x0, x1);
        }
        const GUI_BOX label{static_cast<std::int16_t>(x0), 84, static_cast<std::int16_t>(x1), 103};
        const std::uint8_t weekday = today >= 1 && today <= 7 ? WeekdayBack(today, d) : 0;
        GUI_TextInBox(TXT_GetText(kShortWeekday[weekday]), &label, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
        if (d == selected) {
            GUI_InvertArea(label.x0, label.y0, label.x1, label.y1);
        }
    }
    GUI_SelectFont(old);
}

SM_State BSE_Solarenergie(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BSE_Solarenergie", e);
    switch (e->sig) {
    case SIG_ENTRY:
        ML_SetEntry(0, DrawDay<0>);
        ML_SetEntry(1, DrawDay<1>);
        ML_SetEntry(2, DrawDay<2>);
        ML_SetEntry(3, DrawDay<3>);
        ML_SetEntry(4, DrawDay<4>);
        ML_SetEntry(5, DrawDay<5>);
        ML_SetEntry(6, DrawDay<6>);
        ML_SetEntry(7, DrawDay<7>);
        ML_SetCount(kDays);
        ML_Init(42, 234, 107, 24, 2, 1);
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT) {
            bse.cursor = 0;
        }
        ML_RestorePosition(bse.cursor, bse.cursor);
        bse.hint = HINT_CHOOSE_LR;
        bse.mark = true;
        FollowCursor();
        DrawScreen();
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        bse.cursor = ML_GetCursor();
        bse.mark = true;
        SM_Post(DTM_Task, SIG_TMR_DATA_SET, 0);
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
        if (e->sig == SIG_KEY_UP || e->sig == SIG_KEY_RIGHT) {
            ML_CursorUp();
        } else {
            ML_CursorDown();
        }
        FollowCursor();
        BSE_DrawChart(bse.cursor, bse.mark);
        bse.hint = HINT_END_OK;
        SCR_Hint(bse.hint, true);
        LCD_Refresh();
        return nullptr;
    case SIG_TMR_DATA_TIMEOUT:
        if (bse.cursor == 0) {
            bse.mark = !bse.mark;
            ArmBlink();
            BSE_DrawChart(bse.cursor, bse.mark);
            LCD_Refresh();
        }
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        bse.hint = HINT_CHOOSE_LR;
        HINT_SetText(bse.hint);
        HINT_Refresh();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
        Leave(me);
        return nullptr;
    case SIG_TICK_5S:
    case SIG_DATA_TYPE_17:
    case SIG_DATA_TYPE_24:
        ML_Draw();
        BSE_DrawChart(bse.cursor, bse.mark);
        LCD_Refresh();
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

void BSE_PowerOn()
{
    bse = Module{};
}
