// Placeholder screens: the state's name, and BACK to the base display.
#include "screens/base/PLH.h"

#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

[[maybe_unused]] SM_State Placeholder(SM_Hsm* me, const SM_Event* e, const char* name, SM_Handler parent)
{
    SCR_Trace(name, e);
    switch (e->sig) {
    case SIG_INIT: {
        GUI_EraseScreen();
        TITLE_SetTextCentred(name);
        TITLE_DrawLine();
        static constexpr GUI_BOX kBody{1, 28, 238, 131};
        GUI_TextInBoxWrapped("(placeholder)", &kBody, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER, GUI_WRAP_WORD);
        HINT_SetText(HINT_BACK);
        LCD_Refresh();
        return nullptr;
    }
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGA_Grundanzeige, SCR_FROM_PARENT);
        return nullptr;
    default:
        break;
    }
    return parent;
}

} // namespace

#define PLH_DEFINE(name, parent)                                                                                       \
    SM_State name(SM_Hsm* me, const SM_Event* e)                                                                       \
    {                                                                                                                  \
        return Placeholder(me, e, #name, parent);                                                                      \
    }
PLH_STATES(PLH_DEFINE)
#undef PLH_DEFINE

// The placeholders keep no memory of their own.
void PLH_PowerOn() {}
