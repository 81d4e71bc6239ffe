// Heating-circuit reset: "Grundeinstellung" answered with "Ja" sets the
// circuit back to its defaults.
#include "screens/user/BHKG.h"

#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/user/BHKW.h"
#include "screens/user/HK.h"

namespace {

constexpr std::uint16_t kQuestion = 111;
constexpr std::uint32_t kHelpPage = 111;

std::uint8_t bhkgAnswer = 0;

SM_Handler ReturnTo()
{
    return BHKW_HKWahl;
}

const SCR_Question kQuestionScreen{"BHKG_HKGrundeinstellung", HK_DrawCircuitTitle, kQuestion,     &bhkgAnswer,
                                   HINT_CONTINUE_OK,          HK_ResetCircuit,     BHKG_Feedback, BHKW_HKWahl,
                                   BMM_Menuemonitor,          BMM_Menuemonitor};
const SCR_QuestionFeedback kFeedback{"BHKG_Feedback", HK_DrawCircuitTitle, kQuestion,        &bhkgAnswer,
                                     ReturnTo,        SCR_FROM_CHILD,      BMM_Menuemonitor, BMM_Menuemonitor};

} // namespace

SM_State BHKG_HKGrundeinstellung(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_HELP) {
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    }
    return SCR_QuestionState(me, e, kQuestionScreen);
}

SM_State BHKG_Feedback(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_HELP) {
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    }
    // Every key returns, the cursor keys as well.
    if (e->sig == SIG_KEY_UP || e->sig == SIG_KEY_DOWN || e->sig == SIG_KEY_LEFT || e->sig == SIG_KEY_RIGHT) {
        SM_TranParam(me, BMM_Menuemonitor, BHKW_HKWahl, SCR_FROM_CHILD);
        return nullptr;
    }
    return SCR_QuestionFeedbackState(me, e, kFeedback);
}

void BHKG_PowerOn()
{
    bhkgAnswer = 0;
}
