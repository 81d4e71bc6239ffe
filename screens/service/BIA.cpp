// Commissioning assistant: it owns no settings screen; it sends the installer
// to the language and time screens and takes up the thread on their return.
#include "screens/service/BIA.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BES.h"
#include "screens/user/BUD.h"

namespace {

enum Step : std::uint8_t { kLanguage, kTimeAndDate, kFinished, kTimeAndDateOnly };

struct StepRow {
    std::uint16_t text;
    SM_Handler target;
    std::uint32_t par;
};
const StepRow kSteps[] = {
    {256, BES_EinstellungSprache, SCR_ASSISTANT},
    {274, BUD_UhrzeitDialog, SCR_ASSISTANT},
    {133, BGA_Grundanzeige, SCR_FROM_PARENT},
    {274, BUD_UhrzeitDialog, SCR_ASSISTANT},
};

constexpr std::uint8_t kFunctionCommissioning = 4;
constexpr GUI_BOX kTextArea{0, 0, 239, 131};

struct Assistant {
    std::uint32_t step = kLanguage;
};

Assistant bia;

void Open(SM_Hsm* me)
{
    const StepRow& s = kSteps[bia.step];
    SM_TranParam(me, BKE_Kontrasteinstellung, s.target, s.par);
}

void Draw()
{
    GUI_EraseScreen();
    const GUI_FONTDEF* old = TXT_UseFontLarge();
    GUI_TextInBoxWrapped(TXT_GetText(kSteps[bia.step].text), &kTextArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER,
                         GUI_WRAP_WORD);
    GUI_SelectFont(old);
    HINT_SetText(HINT_CONTINUE_OK);
    LCD_Refresh();
}

// True when the screen is to be drawn.
bool Init(SM_Hsm* me, std::uint32_t par)
{
    switch (par) {
    case SCR_ASSISTANT:
        bia.step = kLanguage;
        Open(me);
        return false;
    case SCR_CLOCK_MESSAGE:
        bia.step = kTimeAndDateOnly;
        return true;
    case SCR_ASSISTANT_CONFIRMED:
        if (bia.step == kTimeAndDateOnly) {
            SM_DispatchSignal(me, SIG_COMMISSIONING_END, 0);
            return false;
        }
        if (bia.step == kLanguage) {
            bia.step = kTimeAndDate;
        } else if (bia.step == kTimeAndDate) {
            bia.step = kFinished;
            SCR_Hint(HINT_CONTINUE_OK, true); // the closing message confirms itself
        } else {
            bia.step = kLanguage;
        }
        return true;
    case SCR_ASSISTANT_LEFT:
        if (bia.step == kLanguage) {
            Open(me);
            return false;
        }
        return true;
    case SCR_ASSISTANT_ONE_BACK:
        if (bia.step == kTimeAndDateOnly) {
            return true;
        }
        if (bia.step == kTimeAndDate) {
            bia.step = kLanguage;
            Open(me);
            return false;
        }
        bia.step = bia.step == kFinished ? kTimeAndDate : kLanguage;
        return true;
    default:
        return true;
    }
}

} // namespace

SM_State BIA_InbetriebnahmeAssistent(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BIA_InbetriebnahmeAssistent", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(DTM_Task, SIG_TMR_HINT_SET, 0);
        return nullptr;
    case SIG_INIT:
        if (Init(me, e->par)) {
            Draw();
        }
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_OK:
        if (bia.step == kFinished) {
            DAT_EndCommissioning();
            DIS_UO_Function(kFunctionCommissioning, 0);
        }
        Open(me);
        return nullptr;
    case SIG_KEY_BACK:
        // Through the base display, so that entry disarms the closing message's timer.
        SM_TranParam(me, BGA_Grundanzeige, BIA_InbetriebnahmeAssistent, SCR_ASSISTANT_ONE_BACK);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SM_DispatchSignal(me, SIG_KEY_OK, 0);
        return nullptr;
    case SIG_KEY_MENU:
        return nullptr;
    case SIG_STATUS_UPDATED:
        // The base display's choice would start over at the language on every status telegram.
        if (DAT_CommissioningRequested()) {
            return nullptr;
        }
        break;
    case SIG_COMMISSIONING_END:
        DAT_EndCommissioning();
        SM_TranParam(me, BMM_Menuemonitor, BGA_Grundanzeige, SCR_FROM_PARENT);
        return nullptr;
    default:
        break;
    }
    return BGA_Grundanzeige;
}

void BIA_PowerOn()
{
    bia = Assistant{};
}
