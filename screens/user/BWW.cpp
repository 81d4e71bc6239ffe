// Hot-water set temperature: edited here, or only shown when the control
// unit keeps it to itself.
#include "screens/user/BWW.h"

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

namespace {

constexpr std::uint16_t kTitle = 289;
constexpr std::uint32_t kHelpPage = 21;

SM_Handler bwwReturnState = nullptr;

void DrawTitle()
{
    TITLE_Draw(kTitle);
}

void Store(std::int16_t celsius)
{
    const auto value = static_cast<std::uint8_t>(celsius);
    DAT_SetCircuitByte(DAT_CIRCUIT_HOT_WATER_SET, value);
    DIS_UO_HotWaterTemperature(value);
}

SM_Handler ReturnTo()
{
    return bwwReturnState != nullptr ? bwwReturnState : BGA_Grundanzeige;
}

const SCR_Edit kEdit{"BWW_TemperaturDialog", DrawTitle, Store, BWW_Feedback, BWW_Warmwasser};
const SCR_Feedback kFeedback{"BWW_Feedback", DrawTitle, BWW_TemperaturDialog, BWW_Warmwasser, ReturnTo};
const SCR_ViewOnly kViewOnly{"BWW_Fernbedienung", DrawTitle, BWW_Warmwasser};

void Init()
{
    bwwReturnState = BMM_ReturnScreen();
    const auto lowest = TMP_ToDisplay(DAT_CircuitByte(DAT_CIRCUIT_HOT_WATER_MIN));
    const auto highest = TMP_ToDisplay(DAT_CircuitByte(DAT_CIRCUIT_HOT_WATER_MAX));
    // Limits the wrong way round from the control unit leave just the lowest.
    const ValueLimits limits{TMP_ToDisplay(DAT_CircuitByte(DAT_CIRCUIT_HOT_WATER_SET)), 1, lowest,
                             highest < lowest ? lowest : highest};
    VD_Setup(&limits, FMT_Temperature, &VD_VALUE_BOX, TXT_FontLarge());
}

SM_Handler Child()
{
    return DAT_HotWaterSetAtPanel() ? BWW_TemperaturDialog : BWW_Fernbedienung;
}

const SCR_EditParent kParent{"BWW_Warmwasser", Init, Child, ReturnTo};

} // namespace

SM_State BWW_Warmwasser(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    // Only the view-only screen passes the cursor keys up: they leave as BACK does.
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        SM_DispatchSignal(me, SIG_KEY_BACK, 0);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return SCR_EditParentState(me, e, kParent);
    }
}

SM_State BWW_TemperaturDialog(SM_Hsm* me, const SM_Event* e)
{
    return SCR_EditState(me, e, kEdit);
}

SM_State BWW_Fernbedienung(SM_Hsm* me, const SM_Event* e)
{
    return SCR_ViewOnlyState(me, e, kViewOnly);
}

SM_State BWW_Feedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_FeedbackState(me, e, kFeedback);
}

void BWW_PowerOn()
{
    bwwReturnState = nullptr;
}
