// Economy mode: choosing it switches it over; it cannot be switched on
// while the circuit does not heat.
#include "screens/user/BSP.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

constexpr std::uint16_t kTitle = 249;
constexpr std::uint16_t kOn = 76;
constexpr std::uint16_t kOff = 24;
constexpr std::uint16_t kNotSettable = 187;
constexpr std::uint16_t kNoHeating = 144;
constexpr std::uint32_t kHelpPage = 36;
constexpr GUI_BOX kFirstRow{1, 29, 238, 52};
constexpr GUI_BOX kBelowFirstRow{0, 52, 239, 132};
constexpr GUI_BOX kMessageArea{0, 27, 239, 132};

struct Module {
    SM_Handler returnState = nullptr;
    std::uint16_t resultText = kOff;
};

Module bsp;

bool Permitted()
{
    const std::uint8_t permits = DAT_CircuitByte(DAT_CIRCUIT_PERMITS);
    const std::uint8_t program = DAT_OperatingProgram();
    return (permits & DAT_PERMIT_ECONOMY) != 0 && (permits & DAT_BAR_ECONOMY) == 0 &&
           program != DAT_PROGRAM_SHUT_DOWN && program != DAT_PROGRAM_HOT_WATER_ONLY &&
           (DAT_ModeWord() & DAT_MODE_HOLIDAY) == 0;
}

void Switch()
{
    if (DAT_EconomyOn()) {
        DIS_UO_EconomyOff();
        bsp.resultText = kOff;
    } else if (Permitted()) {
        DIS_UO_EconomyOn(); // ends party mode too
        bsp.resultText = kOn;
    } else {
        bsp.resultText = kNotSettable;
    }
}

void Draw()
{
    GUI_EraseScreen();
    TITLE_Draw(kTitle);
    const bool refused = bsp.resultText == kNotSettable;
    if (refused) {
        GUI_TextInBox(TXT_GetText(kNoHeating), &kFirstRow, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    }
    const GUI_FONTDEF* old = TXT_UseFontLarge();
    GUI_TextInBoxWrapped(TXT_GetText(bsp.resultText), refused ? &kBelowFirstRow : &kMessageArea,
                         GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER, GUI_WRAP_WORD);
    GUI_SelectFont(old);
    SCR_Hint(refused ? HINT_BACK : HINT_TAKEN_OVER, true);
    LCD_Refresh();
}

} // namespace

SM_State BSP_SparbetriebFeedback(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BSP_SparbetriebFeedback", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT) {
            bsp.returnState = BMM_ReturnScreen();
            Switch();
        }
        Draw();
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        SM_TranParam(me, BMM_Menuemonitor, bsp.returnState != nullptr ? bsp.returnState : BGA_Grundanzeige,
                     SCR_FROM_CHILD);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

void BSP_PowerOn()
{
    bsp = Module{};
}
