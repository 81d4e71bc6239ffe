// Screens that later work builds: until then each is a placeholder that
// shows its name and goes back to the base display on BACK. A module that
// builds one of these screens removes it from here (and from
// docs/architecture.md).
#pragma once

#include "core/SM.h"

#define PLH_STATES(X) \
    X(BAP_Abgaspruefung) \
    X(BCPM_Codierung_2_Menue) \
    X(BEIM_ExpertInfoMenue) \
    X(BEM_EinstellungenMenue) \
    X(BetriebsartEinstellen) \
    X(BHE_HerstellerEndkontrolle) \
    X(BHKM_HKMenue) \
    X(BHQ_HardwareQualityCheck) \
    X(BIA_InbetriebnahmeAssistent) \
    X(BIM_InformationMenue) \
    X(BPB_Partybetrieb) \
    X(BRT_RaumtemperaturTag) \
    X(BSD_Stoerungsdialog) \
    X(BSE_Solarenergie) \
    X(BSP_SparbetriebFeedback) \
    X(BSVM_Servicemenue) \
    X(BTC_TeilnehmerWink) \
    X(BUD_UhrzeitDialog) \
    X(BWD_WartungsDialog) \
    X(BWW_Warmwasser) \
    X(BWWM_WWMenue)

#define PLH_DECLARE(name) SM_State name(SM_Hsm* me, const SM_Event* e);
PLH_STATES(PLH_DECLARE)
#undef PLH_DECLARE
