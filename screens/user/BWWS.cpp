// Hot-water time program: the times hot water runs, per day, unless the automatic
// program decides.
#include "screens/user/BWWS.h"

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
        TITLE_Draw(302); // "Zeitprogr.Warmwasser" with the circuit label
    } else {
        TITLE_SetText(TXT_GetText(306));
        TITLE_DrawLine();
    }
}

SM_Handler Back()
{
    return BWWS_AutomatikMenue;
}

const TP_Module kModule{
    {"BWWS_ZeitraumMenue", "BWWS_SchaltintervallMenue", "BWWS_EditEinschaltzeit", "BWWS_EditAusschaltzeit",
     "BWWS_SchaltintervallFeedback"},
    1,
    BWWS_WWSchaltuhr,
    BWWS_ZeitraumMenue,
    BWWS_SchaltintervallMenue,
    BWWS_EditEinschaltzeit,
    BWWS_EditAusschaltzeit,
    BWWS_SchaltintervallFeedback,
    Back,
    Title,
    285, // "Warmwasser"
    WithCircuitLabel,
    76,  // "Ein"
    33,  // 05:30
    132, // 22:00
    68,
    78,
};

const TP_Automatic kAutomatic{
    {"BWWS_AutomatikMenue", "BWWS_AutomatikMenueFeedback"},
    BWWS_WWSchaltuhr,
    BWWS_AutomatikMenue,
    BWWS_AutomatikMenueFeedback,
    BWWS_ZeitraumMenue,
    TP_HOT_WATER_AUTOMATIC,
    DIS_UO_HotWaterAutomatic,
    Title,
    66,
};

} // namespace

SM_State BWWS_WWSchaltuhr(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BWWS_WWSchaltuhr", e)) {
        if (e->sig == SIG_ENTRY) {
            TP_SetKind(kModule.kind);
        } else if (e->sig == SIG_INIT) {
            TP_OpenForHotWater(e->par);
            SM_InitParam(me, BWWS_AutomatikMenue, e->par);
        }
        return nullptr;
    }
    return BMM_Menuemonitor;
}

SM_State BWWS_AutomatikMenue(SM_Hsm* me, const SM_Event* e)
{
    return TP_AutomaticMenuState(me, e, kAutomatic);
}

SM_State BWWS_AutomatikMenueFeedback(SM_Hsm* me, const SM_Event* e)
{
    return TP_AutomaticFeedbackState(me, e, kAutomatic);
}

SM_State BWWS_ZeitraumMenue(SM_Hsm* me, const SM_Event* e)
{
    return TP_DayMenuState(me, e, kModule);
}

SM_State BWWS_SchaltintervallMenue(SM_Hsm* me, const SM_Event* e)
{
    return TP_PhaseMenuState(me, e, kModule);
}

SM_State BWWS_EditEinschaltzeit(SM_Hsm* me, const SM_Event* e)
{
    return TP_EditOnState(me, e, kModule);
}

SM_State BWWS_EditAusschaltzeit(SM_Hsm* me, const SM_Event* e)
{
    return TP_EditOffState(me, e, kModule);
}

SM_State BWWS_SchaltintervallFeedback(SM_Hsm* me, const SM_Event* e)
{
    return TP_FeedbackState(me, e, kModule);
}
