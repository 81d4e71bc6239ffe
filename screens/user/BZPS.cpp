// Circulation time program: the times the circulation pump runs, per day, unless the automatic
// program decides.
#include "screens/user/BZPS.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "screens/base/BMM.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/user/TP.h"

namespace {

bool WithCircuitLabel()
{
    return DAT_CircuitCount() > 1 && TP_CircuitChoice();
}

void Title()
{
    if (WithCircuitLabel()) {
        TITLE_Draw(303); // "Zeitprogr.Zirkulation" with the circuit label
    } else {
        TITLE_SetText(TXT_GetText(307));
        TITLE_DrawLine();
    }
}

SM_Handler Back()
{
    return BZPS_AutomatikMenue;
}

const TP_Module kModule{
    {"BZPS_ZeitraumMenue", "BZPS_SchaltintervallMenue", "BZPS_EditEinschaltzeit", "BZPS_EditAusschaltzeit",
     "BZPS_SchaltintervallFeedback"},
    2,
    BZPS_ZPSchaltuhr,
    BZPS_ZeitraumMenue,
    BZPS_SchaltintervallMenue,
    BZPS_EditEinschaltzeit,
    BZPS_EditAusschaltzeit,
    BZPS_SchaltintervallFeedback,
    Back,
    Title,
    308, // "Zirkulation"
    WithCircuitLabel,
    76,  // "Ein"
    33,  // 05:30
    132, // 22:00
    81,
    91,
};

const TP_Automatic kAutomatic{
    {"BZPS_AutomatikMenue", "BZPS_AutomatikMenueFeedback"},
    BZPS_ZPSchaltuhr,
    BZPS_AutomatikMenue,
    BZPS_AutomatikMenueFeedback,
    BZPS_ZeitraumMenue,
    TP_CIRCULATION_AUTOMATIC,
    DIS_UO_CirculationAutomatic,
    Title,
    79,
};

} // namespace

SM_State BZPS_ZPSchaltuhr(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BZPS_ZPSchaltuhr", e)) {
        if (e->sig == SIG_ENTRY) {
            TP_SetKind(kModule.kind);
        } else if (e->sig == SIG_INIT) {
            TP_OpenForHotWater(e->par);
            SM_InitParam(me, BZPS_AutomatikMenue, e->par);
        }
        return nullptr;
    }
    return BMM_Menuemonitor;
}

SM_State BZPS_AutomatikMenue(SM_Hsm* me, const SM_Event* e)
{
    return TP_AutomaticMenuState(me, e, kAutomatic);
}

SM_State BZPS_AutomatikMenueFeedback(SM_Hsm* me, const SM_Event* e)
{
    return TP_AutomaticFeedbackState(me, e, kAutomatic);
}

SM_State BZPS_ZeitraumMenue(SM_Hsm* me, const SM_Event* e)
{
    return TP_DayMenuState(me, e, kModule);
}

SM_State BZPS_SchaltintervallMenue(SM_Hsm* me, const SM_Event* e)
{
    return TP_PhaseMenuState(me, e, kModule);
}

SM_State BZPS_EditEinschaltzeit(SM_Hsm* me, const SM_Event* e)
{
    return TP_EditOnState(me, e, kModule);
}

SM_State BZPS_EditAusschaltzeit(SM_Hsm* me, const SM_Event* e)
{
    return TP_EditOffState(me, e, kModule);
}

SM_State BZPS_SchaltintervallFeedback(SM_Hsm* me, const SM_Event* e)
{
    return TP_FeedbackState(me, e, kModule);
}
