// Feedback of a change of the current heating circuit: its name for 2 s.
#include "screens/base/BFA.h"

#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BMM.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

constexpr GUI_BOX kName{1, 28, 238, 131};
constexpr std::uint16_t kTextTitle = 123;
constexpr std::uint16_t kTextCircuit1 = 116; // 117 for circuit 2; both give the user's label when set

struct Module {
    SM_Handler returnScreen;
};

Module bfa;

std::uint8_t CurrentCircuit()
{
    return DAT_SelectedCircuit() != 0 ? DAT_SelectedCircuit() : DAT_FirstCircuit();
}

// The other circuit in the given direction, skipping one the plant lacks;
// with two circuits both directions lead to the other one.
void SelectNeighbour(int direction)
{
    std::uint8_t c = CurrentCircuit();
    for (std::uint8_t tries = DAT_CircuitCount(); tries > 0; --tries) {
        c = static_cast<std::uint8_t>(direction < 0 ? (c == 1 ? 2 : c - 1) : (c == 2 ? 1 : c + 1));
        if (DAT_CircuitPresent(c)) {
            DAT_SelectCircuit(c);
            return;
        }
    }
}

void Draw()
{
    GUI_EraseScreen();
    TITLE_SetTextCentred(TXT_GetText(kTextTitle));
    TITLE_DrawLine();
    const GUI_FONTDEF* font = TXT_UseFontLarge();
    GUI_TextInBox(TXT_GetText(static_cast<std::uint16_t>(kTextCircuit1 + CurrentCircuit() - 1)), &kName,
                  GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    GUI_SelectFont(font);
    HINT_SetText(HINT_CHOSEN);
    SM_Post(DTM_Task, SIG_TMR_HINT_SET, 20);
    LCD_Refresh();
}

} // namespace

SM_State BFA_Feedbackanzeige(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BFA_Feedbackanzeige", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT) {
            bfa.returnScreen = BMM_ReturnScreen();
        }
        Draw();
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        SM_TranParam(me, BMM_Menuemonitor, bfa.returnScreen != nullptr ? bfa.returnScreen : BGA_Grundanzeige,
                     SCR_FROM_CHILD);
        return nullptr;
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        SelectNeighbour(e->sig == SIG_KEY_LEFT ? -1 : +1);
        SM_TranParam(me, BMM_Menuemonitor, BFA_Feedbackanzeige, SCR_PLAIN);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

void BFA_PowerOn()
{
    bfa = Module{};
}
