// Maximum fan speed. Stage 1 is adjusted first, OK moves to stage 2, the
// second OK stores both; any other way out withdraws the trials.
#include "screens/service/BMG.h"

#include <cstdio>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BIF.h"
#include "screens/service/BMH.h"

namespace {

constexpr std::uint16_t kTitle = 162;   // "Maximale Gebläsedrehzahl"
constexpr std::uint16_t kQuestion = 19; // "Ändern?"
constexpr std::uint16_t kStageText[2] = {74, 75};
constexpr std::uint8_t kTrial = 0x55;
constexpr std::uint8_t kStore = 0xAA;
constexpr std::uint8_t kEndTrial = 0;
// The scale is drawn from 0 to 100 %: the control unit reports no narrower limits for the fan.
constexpr std::uint8_t kMin = 0;
constexpr std::uint8_t kMax = 100;
constexpr std::uint32_t kHelpPage = 98;
constexpr int kBarLeft = 19;
constexpr int kBarRight = 218;
constexpr int kMarkerHalf = 11; // of the 23-pixel markers
constexpr GUI_BOX kRows[2] = {{1, 81, 238, 104}, {1, 107, 238, 130}};
constexpr int kValueLeft = 189;

struct FanSpeed {
    std::uint8_t answer = 0;
    std::uint8_t value[2] = {};
    std::uint8_t stage = 0;
    std::uint8_t hint = HINT_CHANGE_LR;
    bool stored = false;
    bool open = false; // trials may be in force at the control unit
};

FanSpeed bmg;

std::uint8_t Stored(std::uint8_t stage)
{
    const std::uint8_t v = DAT_image.fanSpeed[stage];
    return v > kMax ? kMax : v;
}

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

void Begin()
{
    bmg.value[0] = Stored(0);
    bmg.value[1] = Stored(1);
    bmg.stage = 0;
    bmg.hint = HINT_CHANGE_LR;
    bmg.stored = false;
    bmg.open = true;
}

void EndTrials()
{
    for (std::uint8_t s = 0; s < 2; ++s) {
        DIS_UO_FanSpeed(s, bmg.value[s], kEndTrial);
    }
    bmg.open = false;
}

void DrawScale()
{
    GUI_FrameArea(kBarLeft, 49, kBarRight, 64);
    GUI_LineV(kBarLeft, 44, 49);
    GUI_LineV(kBarRight, 44, 49);
    const GUI_FONTDEF* old = TXT_UseFontSmall();
    GUI_TextCenteredAt("0%", kBarLeft, 33);
    GUI_TextCenteredAt("100%", kBarRight, 33);
    GUI_SelectFont(old);
}

void DrawStage(std::uint8_t s)
{
    const int x = BMH_BarX(bmg.value[s], kMin, kMax);
    const bool adjusting = !bmg.stored && bmg.stage == s;
    if (s == 0) {
        GUI_FillArea(kBarLeft, 49, x, 56);
        GUI_PutBitmap(adjusting ? &bmMarkerDownActive23 : &bmMarkerDownIdle23, x - kMarkerHalf, 36);
    } else {
        GUI_FillArea(kBarLeft, 57, x, 64);
        GUI_PutBitmap(adjusting ? &bmMarkerUpActive23 : &bmMarkerUpIdle23, x - kMarkerHalf, 65);
    }
    char value[8];
    std::snprintf(value, sizeof value, "%u%%", static_cast<unsigned>(bmg.value[s]));
    const GUI_BOX& row = kRows[s];
    GUI_TextInBox(TXT_GetText(kStageText[s]), &row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    GUI_TextInBox(value, &row, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
    if (adjusting) {
        GUI_InvertArea(kValueLeft, row.y0, 239, row.y1);
    }
}

void Draw()
{
    GUI_EraseScreen();
    DrawTitle();
    DrawScale();
    DrawStage(0);
    DrawStage(1);
    SCR_Hint(bmg.hint, bmg.hint != HINT_CHANGE_LR);
    LCD_Refresh();
}

void Step(bool up)
{
    std::uint8_t& v = bmg.value[bmg.stage];
    if (up ? v < kMax : v > kMin) {
        v = static_cast<std::uint8_t>(up ? v + 1 : v - 1);
        DIS_UO_FanSpeed(bmg.stage, v, kTrial);
    }
    bmg.hint = bmg.stage == 0 ? HINT_CONTINUE_OK : HINT_TAKE_OVER_OK;
    Draw();
}

void ToMenu(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BIF_InbetriebnahmeMenue, SCR_FROM_CHILD);
}

bool Help(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig != SIG_HELP) {
        return false;
    }
    SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
    return true;
}

const SCR_Question kQuestionPattern{"BMG_Startabfrage",
                                    DrawTitle,
                                    kQuestion,
                                    &bmg.answer,
                                    HINT_CONTINUE_OK,
                                    Begin,
                                    BMG_GeblaesedrehzahlDialog,
                                    BIF_InbetriebnahmeMenue,
                                    BKE_Kontrasteinstellung,
                                    BMM_Menuemonitor};

} // namespace

SM_State BMG_Startabfrage(SM_Hsm* me, const SM_Event* e)
{
    return Help(me, e) ? nullptr : SCR_QuestionState(me, e, kQuestionPattern);
}

SM_State BMG_GeblaesedrehzahlDialog(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BMG_GeblaesedrehzahlDialog", e)) {
        if (e->sig == SIG_INIT) {
            if (e->par == SCR_FROM_PARENT) {
                Begin();
            } else if (!bmg.stored && !bmg.open) { // back from the help page: the trials again
                bmg.open = true;
                for (std::uint8_t s = 0; s < 2; ++s) {
                    if (bmg.value[s] != Stored(s)) {
                        DIS_UO_FanSpeed(s, bmg.value[s], kTrial);
                    }
                }
            }
            Draw();
        } else if (e->sig == SIG_EXIT) {
            if (bmg.open && !bmg.stored) {
                EndTrials();
            }
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
        if (!bmg.stored) {
            Step(e->sig == SIG_KEY_UP || e->sig == SIG_KEY_RIGHT);
        }
        return nullptr;
    case SIG_KEY_OK:
        if (bmg.stored) {
            ToMenu(me);
        } else if (bmg.stage == 0) {
            bmg.stage = 1;
            bmg.hint = HINT_CHANGE_LR;
            Draw();
        } else {
            DIS_UO_FanSpeed(0, bmg.value[0], kStore);
            DIS_UO_FanSpeed(1, bmg.value[1], kStore);
            bmg.stored = true;
            bmg.open = false;
            bmg.hint = HINT_TAKEN_OVER;
            Draw();
        }
        return nullptr;
    case SIG_KEY_BACK:
        if (!bmg.stored) {
            EndTrials();
        }
        bmg.open = false;
        ToMenu(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        if (bmg.stored) {
            ToMenu(me);
            return nullptr;
        }
        bmg.hint = HINT_CHANGE_LR;
        SCR_Hint(bmg.hint, false);
        HINT_Refresh();
        return nullptr;
    default:
        return Help(me, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BMG_PowerOn()
{
    bmg = FanSpeed{};
}
