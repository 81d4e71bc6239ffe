// Heating time program: normal against reduced room temperature, per day.
#include "screens/user/BHKS.h"

#include "screens/base/BMM.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/user/BHKM.h"
#include "screens/user/TP.h"

namespace {

SM_Handler Back()
{
    return BHKM_HKMenue;
}

void DayMenuTitle()
{
    TITLE_Draw(305); // "Zeitprogramm Heizung", the circuit label with two circuits
}

bool PhaseTitleLabel()
{
    return true;
}

const TP_Module kModule{
    {"BHKS_ZeitraumMenue", "BHKS_SchaltintervallMenue", "BHKS_EditEinschaltzeit", "BHKS_EditAusschaltzeit",
     "BHKS_SchaltintervallFeedback"},
    0,
    BHKS_HKSchaltuhr,
    BHKS_ZeitraumMenue,
    BHKS_SchaltintervallMenue,
    BHKS_EditEinschaltzeit,
    BHKS_EditAusschaltzeit,
    BHKS_SchaltintervallFeedback,
    Back,
    DayMenuTitle,
    126, // "Heizung"
    PhaseTitleLabel,
    191, // "Normal"
    36,  // 06:00
    132, // 22:00
    48,
    58,
};

} // namespace

SM_State BHKS_HKSchaltuhr(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BHKS_HKSchaltuhr", e)) {
        if (e->sig == SIG_ENTRY) {
            TP_SetKind(kModule.kind);
        } else if (e->sig == SIG_INIT) {
            SM_InitParam(me, BHKS_ZeitraumMenue, e->par);
        }
        return nullptr;
    }
    return BMM_Menuemonitor;
}

SM_State BHKS_ZeitraumMenue(SM_Hsm* me, const SM_Event* e)
{
    return TP_DayMenuState(me, e, kModule);
}

SM_State BHKS_SchaltintervallMenue(SM_Hsm* me, const SM_Event* e)
{
    return TP_PhaseMenuState(me, e, kModule);
}

SM_State BHKS_EditEinschaltzeit(SM_Hsm* me, const SM_Event* e)
{
    return TP_EditOnState(me, e, kModule);
}

SM_State BHKS_EditAusschaltzeit(SM_Hsm* me, const SM_Event* e)
{
    return TP_EditOffState(me, e, kModule);
}

SM_State BHKS_SchaltintervallFeedback(SM_Hsm* me, const SM_Event* e)
{
    return TP_FeedbackState(me, e, kModule);
}
