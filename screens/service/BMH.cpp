// Maximum heating output. Each step is sent as a trial, so the contractor
// sees the boiler react; OK stores it, any other way out withdraws it.
#include "screens/service/BMH.h"

#include <algorithm>
#include <cstdio>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BIF.h"

namespace {

constexpr std::uint16_t kTitle = 164;   // "Maximale Heizleistung"
constexpr std::uint16_t kQuestion = 19; // "Ändern?"
constexpr std::uint8_t kLimitMin = 39;  // service block: the dialog's limits
constexpr std::uint8_t kLimitMax = 40;
constexpr std::uint8_t kTrial = 0x55;
constexpr std::uint8_t kStore = 0xAA;
constexpr std::uint8_t kEndTrial = 0;
constexpr std::uint32_t kHelpPage = 98;
constexpr int kBarLeft = 19;
constexpr int kBarRight = 218;

struct Output {
    std::uint8_t answer = 0;
    std::uint8_t value = 0;
    std::uint8_t hint = HINT_CHANGE_LR;
    bool stored = false;
    bool open = false; // a trial may be in force at the control unit
};

Output bmh;

std::uint8_t Stored()
{
    return DAT_image.service[DAT_SERVICE_MAX_POWER];
}

std::uint8_t Min()
{
    return std::min(DAT_image.service[kLimitMin], DAT_image.service[kLimitMax]);
}

std::uint8_t Max()
{
    return std::max(DAT_image.service[kLimitMin], DAT_image.service[kLimitMax]);
}

void DrawTitleWith(std::uint8_t percent)
{
    char right[8];
    std::snprintf(right, sizeof right, "%u%%", static_cast<unsigned>(percent));
    TITLE_SetTextAndRight(TXT_GetText(kTitle), right);
    TITLE_DrawLine();
}

void DrawQuestionTitle()
{
    DrawTitleWith(Stored());
}

void Begin()
{
    bmh.value = Stored();
    bmh.hint = HINT_CHANGE_LR;
    bmh.stored = false;
    bmh.open = true;
}

void EndTrial()
{
    if (bmh.open && !bmh.stored) {
        DIS_UO_HeatingPower(bmh.value, kEndTrial);
    }
    bmh.open = false;
}

void DrawLimit(std::uint8_t percent, int x)
{
    char text[8];
    std::snprintf(text, sizeof text, "%u%%", static_cast<unsigned>(percent));
    GUI_TextCenteredAt(text, x, 52);
}

void Draw()
{
    GUI_EraseScreen();
    DrawTitleWith(bmh.value);
    GUI_FrameArea(kBarLeft, 79, kBarRight, 94);
    GUI_FillArea(kBarLeft, 79, BMH_BarX(bmh.value, Min(), Max()), 94);
    GUI_LineV(kBarLeft, 74, 79);
    GUI_LineV(kBarRight, 74, 79);
    DrawLimit(Min(), 24);
    DrawLimit(Max(), 213);
    SCR_Hint(bmh.hint, bmh.hint != HINT_CHANGE_LR);
    LCD_Refresh();
}

void Step(bool up)
{
    if (up ? bmh.value < Max() : bmh.value > Min()) {
        bmh.value = static_cast<std::uint8_t>(up ? bmh.value + 1 : bmh.value - 1);
        DIS_UO_HeatingPower(bmh.value, kTrial);
    }
    bmh.hint = HINT_TAKE_OVER_OK;
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

const SCR_Question kQuestionPattern{"BMH_Startabfrage",
                                    DrawQuestionTitle,
                                    kQuestion,
                                    &bmh.answer,
                                    HINT_CONTINUE_OK,
                                    Begin,
                                    BMH_HeizleistungDialog,
                                    BIF_InbetriebnahmeMenue,
                                    BKE_Kontrasteinstellung,
                                    BMM_Menuemonitor};

} // namespace

int BMH_BarX(int value, int min, int max)
{
    if (max <= min) {
        return value >= max ? kBarRight : kBarLeft;
    }
    const int v = std::clamp(value, min, max);
    return (v - min) * (kBarRight - kBarLeft) / (max - min) + kBarLeft;
}

SM_State BMH_Startabfrage(SM_Hsm* me, const SM_Event* e)
{
    return Help(me, e) ? nullptr : SCR_QuestionState(me, e, kQuestionPattern);
}

SM_State BMH_HeizleistungDialog(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BMH_HeizleistungDialog", e)) {
        if (e->sig == SIG_INIT) {
            if (e->par == SCR_FROM_PARENT) {
                Begin();
            } else if (!bmh.stored && !bmh.open) { // back from the help page: the trial again
                bmh.open = true;
                if (bmh.value != Stored()) {
                    DIS_UO_HeatingPower(bmh.value, kTrial);
                }
            }
            Draw();
        } else if (e->sig == SIG_EXIT) {
            EndTrial();
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
        if (!bmh.stored) {
            Step(e->sig == SIG_KEY_UP || e->sig == SIG_KEY_RIGHT);
        }
        return nullptr;
    case SIG_KEY_OK:
        if (bmh.stored) {
            ToMenu(me);
            return nullptr;
        }
        DIS_UO_HeatingPower(bmh.value, kStore);
        bmh.stored = true;
        bmh.open = false;
        bmh.hint = HINT_TAKEN_OVER;
        Draw();
        return nullptr;
    case SIG_KEY_BACK:
        if (!bmh.stored) {
            DIS_UO_HeatingPower(bmh.value, kEndTrial);
        }
        bmh.open = false;
        ToMenu(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        if (bmh.stored) {
            ToMenu(me);
            return nullptr;
        }
        bmh.hint = HINT_CHANGE_LR;
        SCR_Hint(bmh.hint, false);
        HINT_Refresh();
        return nullptr;
    default:
        return Help(me, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BMH_PowerOn()
{
    bmh = Output{};
}
