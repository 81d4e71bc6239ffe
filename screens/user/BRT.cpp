// Room set temperature (normal): edited here, or only shown while a remote
// control sets it.
#include "screens/user/BRT.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "gui/GUI_Font.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/HK.h"

namespace {

constexpr std::uint16_t kTitle = 210;
constexpr std::uint32_t kHelpPage = 33;

SM_Handler brtReturnState = nullptr;

void DrawTitle()
{
    TITLE_Draw(kTitle);
}

void Store(std::int16_t celsius)
{
    const auto value = static_cast<std::uint8_t>(celsius);
    DAT_SetCircuitByte(DAT_CIRCUIT_ROOM_SET, value);
    DIS_UO_RoomTemperature(false, value);
}

SM_Handler ReturnTo()
{
    return brtReturnState != nullptr ? brtReturnState : BGA_Grundanzeige;
}

const SCR_Edit kEdit{"BRT_TemperaturDialog", DrawTitle, Store, BRT_Feedback, BRT_RaumtemperaturTag};
const SCR_Feedback kFeedback{"BRT_Feedback", DrawTitle, BRT_TemperaturDialog, BRT_RaumtemperaturTag, ReturnTo};
const SCR_ViewOnly kViewOnly{"BRT_Fernbedienung", DrawTitle, BRT_RaumtemperaturTag};

void Init()
{
    brtReturnState = BMM_ReturnScreen();
    const bool f = DAT_Fahrenheit();
    const ValueLimits limits{TMP_ToDisplay(DAT_RoomSetTemperature()), 1, static_cast<std::int16_t>(f ? 37 : 3),
                             static_cast<std::int16_t>(f ? 99 : 37)};
    VD_Setup(&limits, FMT_Temperature, &VD_VALUE_BOX, TXT_FontLarge());
}

SM_Handler Child()
{
    return DAT_RemoteControl(HK_Circuit()) ? BRT_Fernbedienung : BRT_TemperaturDialog;
}

const SCR_EditParent kParent{"BRT_RaumtemperaturTag", Init, Child, ReturnTo};

} // namespace

SM_State BRT_RaumtemperaturTag(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_HELP) {
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    }
    return SCR_EditParentState(me, e, kParent);
}

SM_State BRT_TemperaturDialog(SM_Hsm* me, const SM_Event* e)
{
    return SCR_EditState(me, e, kEdit);
}

SM_State BRT_Fernbedienung(SM_Hsm* me, const SM_Event* e)
{
    return SCR_ViewOnlyState(me, e, kViewOnly);
}

SM_State BRT_Feedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_FeedbackState(me, e, kFeedback);
}

void BRT_PowerOn()
{
    brtReturnState = nullptr;
}
