// Party mode: chosen while off, it asks for the party temperature; chosen
// while on, it ends.
#include "screens/user/BPB.h"

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

constexpr std::uint16_t kTitle = 197;
constexpr std::uint16_t kOff = 24;
constexpr std::uint32_t kHelpPage = 35;
constexpr GUI_BOX kMessageArea{0, 27, 239, 132};

SM_Handler bpbReturnState = nullptr;

void DrawTitle()
{
    TITLE_Draw(kTitle);
}

void Store(std::int16_t celsius)
{
    const auto value = static_cast<std::uint8_t>(celsius);
    DIS_UO_PartyOn(); // ends economy mode too
    DAT_SetCircuitByte(DAT_CIRCUIT_PARTY_SET, value);
    DIS_UO_PartyTemperature(value);
}

SM_Handler ReturnTo()
{
    return bpbReturnState != nullptr ? bpbReturnState : BGA_Grundanzeige;
}

const SCR_Edit kEdit{"BPB_PartybetriebRaumtemperatur", DrawTitle, Store, BPB_PartybetriebFeedback, BPB_Partybetrieb};
const SCR_Feedback kFeedback{"BPB_PartybetriebFeedback", DrawTitle, BPB_PartybetriebRaumtemperatur, BPB_Partybetrieb,
                             ReturnTo};

void Init()
{
    bpbReturnState = BMM_ReturnScreen();
    const ValueLimits limits{TMP_ToDisplay(DAT_RoomSetTemperature()), 1, TMP_ToDisplay(4), TMP_ToDisplay(37)};
    VD_Setup(&limits, FMT_Temperature, &VD_VALUE_BOX, TXT_FontLarge());
}

// Chosen while on, party mode ends.
SM_Handler Child()
{
    return DAT_PartyOn() ? BPB_PartybetriebReset : BPB_PartybetriebRaumtemperatur;
}

const SCR_EditParent kParent{"BPB_Partybetrieb", Init, Child, ReturnTo};

} // namespace

SM_State BPB_Partybetrieb(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_HELP) {
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    }
    return SCR_EditParentState(me, e, kParent);
}

SM_State BPB_PartybetriebRaumtemperatur(SM_Hsm* me, const SM_Event* e)
{
    return SCR_EditState(me, e, kEdit);
}

SM_State BPB_PartybetriebFeedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_FeedbackState(me, e, kFeedback);
}

SM_State BPB_PartybetriebReset(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BPB_PartybetriebReset", e)) {
        if (e->sig == SIG_INIT) {
            if (e->par == SCR_FROM_PARENT) {
                DIS_UO_PartyOff();
            }
            GUI_EraseScreen();
            DrawTitle();
            const GUI_FONTDEF* old = TXT_UseFontLarge();
            GUI_TextInBoxWrapped(TXT_GetText(kOff), &kMessageArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER,
                                 GUI_WRAP_WORD);
            GUI_SelectFont(old);
            SCR_Hint(HINT_TAKEN_OVER, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (e->sig == SIG_KEY_OK || e->sig == SIG_TMR_HINT_TIMEOUT) {
        SM_DispatchSignal(me, SIG_KEY_BACK, 0);
        return nullptr;
    }
    return BPB_Partybetrieb;
}

void BPB_PowerOn()
{
    bpbReturnState = nullptr;
}
