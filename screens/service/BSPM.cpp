// Service pin message.
#include "screens/service/BSPM.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BIF.h"

namespace {

constexpr std::uint16_t kTitle = 230;  // "Service-Message"
constexpr std::uint16_t kModule = 159; // "LON-Modul"
constexpr std::uint8_t kMessagePresent = 0x01;
constexpr std::uint8_t kSource = 0x0C; // 0: the LON module
constexpr std::uint32_t kHelpPage = 98;
constexpr GUI_BOX kMessageArea{0, 28, 239, 131};

bool LonModule()
{
    const std::uint8_t flags = DAT_image.service[DAT_SERVICE_FLAGS];
    return (flags & kMessagePresent) != 0 && (flags & kSource) == 0;
}

} // namespace

SM_State BSPM_ServicePinMessage(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BSPM_ServicePinMessage", e)) {
        if (e->sig == SIG_INIT) {
            GUI_EraseScreen();
            TITLE_SetText(TXT_GetText(kTitle));
            TITLE_DrawLine();
            if (LonModule()) {
                if (e->par != SCR_FROM_CHILD) { // not again when back from the help page
                    DIS_UO_ServicePin();
                }
                const GUI_FONTDEF* old = TXT_UseFontLarge();
                GUI_TextInBoxWrapped(TXT_GetText(kModule), &kMessageArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER,
                                     GUI_WRAP_WORD);
                GUI_SelectFont(old);
            }
            SCR_Hint(HINT_PLEASE_WAIT, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        SM_TranParam(me, BKE_Kontrasteinstellung, BIF_InbetriebnahmeMenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

// The message keeps nothing between its visits.
void BSPM_PowerOn() {}
