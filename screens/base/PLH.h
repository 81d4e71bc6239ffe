// Screens that later work builds: until then each is a placeholder that
// shows its name and goes back to the base display on BACK. A module that
// builds one of these screens removes it from here (and from
// docs/architecture.md).
#pragma once

#include "core/SM.h"

// X(name, superstate): most screens sit below the menu monitor; the base
// display chooses two of them itself.
#define PLH_STATES(X)                                                                                                  \
    X(BAP_Abgaspruefung, BGA_Grundanzeige)                                                                             \
    X(BAT_AktorenTest, BMM_Menuemonitor)                                                                               \
    X(BBF_Befuellung, BMM_Menuemonitor)                                                                                \
    X(BBHK_BeschriftungDialog, BMM_Menuemonitor)                                                                       \
    X(BCPM_Codierung_1_Menue, BMM_Menuemonitor)                                                                        \
    X(BCPM_Codierung_2_Menue, BMM_Menuemonitor)                                                                        \
    X(BDAK_DiagnoseKurzabfrageMenue, BMM_Menuemonitor)                                                                 \
    X(BEG_Entlueftung, BMM_Menuemonitor)                                                                               \
    X(BIM_InformationMenue, BMM_Menuemonitor)                                                                          \
    X(BMG_Startabfrage, BMM_Menuemonitor)                                                                              \
    X(BMH_Startabfrage, BMM_Menuemonitor)                                                                              \
    X(BSE_Solarenergie, BMM_Menuemonitor)                                                                              \
    X(BSPM_ServicePinMessage, BMM_Menuemonitor)

#define PLH_DECLARE(name, parent) SM_State name(SM_Hsm* me, const SM_Event* e);
PLH_STATES(PLH_DECLARE)
#undef PLH_DECLARE

// Static memory as at power-on (hosts that run several panels in one process).
void PLH_PowerOn();
