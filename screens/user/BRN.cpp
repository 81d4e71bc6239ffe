// Reduced room set temperature: always editable, always back to the
// heating-circuit menu.
#include "screens/user/BRN.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "gui/GUI_Font.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BHKM.h"

namespace {

constexpr std::uint16_t kTitle = 214;
constexpr std::uint32_t kHelpPage = 41;

void DrawTitle()
{
    TITLE_Draw(kTitle);
}

void Store(std::int16_t celsius)
{
    const auto value = static_cast<std::uint8_t>(celsius);
    DAT_SetCircuitByte(DAT_CIRCUIT_REDUCED_SET, value);
    DIS_UO_RoomTemperature(true, value);
}

SM_Handler ReturnTo()
{
    return BHKM_HKMenue; // wherever the set temperature was opened from
}

const SCR_Edit kEdit{"BRN_TemperaturDialog", DrawTitle, Store, BRN_Feedback, BRN_RaumtemperaturNacht};
const SCR_Feedback kFeedback{"BRN_Feedback", DrawTitle, BRN_TemperaturDialog, BRN_RaumtemperaturNacht, ReturnTo};

void Init()
{
    const bool f = DAT_Fahrenheit();
    const ValueLimits limits{TMP_ToDisplay(DAT_CircuitByte(DAT_CIRCUIT_REDUCED_SET)), 1,
                             static_cast<std::int16_t>(f ? 37 : 3), static_cast<std::int16_t>(f ? 99 : 37)};
    VD_Setup(&limits, FMT_Temperature, &VD_VALUE_BOX, TXT_FontLarge());
}

SM_Handler Child()
{
    return BRN_TemperaturDialog; // no view-only variant: a remote control leaves the reduced value here
}

const SCR_EditParent kParent{"BRN_RaumtemperaturNacht", Init, Child, ReturnTo};

} // namespace

SM_State BRN_RaumtemperaturNacht(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_HELP) {
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    }
    return SCR_EditParentState(me, e, kParent);
}

SM_State BRN_TemperaturDialog(SM_Hsm* me, const SM_Event* e)
{
    return SCR_EditState(me, e, kEdit);
}

SM_State BRN_Feedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_FeedbackState(me, e, kFeedback);
}
