// Fault history: the last faults the control unit recorded, and their
// deletion. The service menu opens BFH_Wahlmenue with SCR_FROM_PARENT.
#pragma once

#include "core/SM.h"

SM_State BFH_Wahlmenue(SM_Hsm* me, const SM_Event* e);
SM_State BFH_FehlerhistorieDialog(SM_Hsm* me, const SM_Event* e);
SM_State BFH_AufFehlerdatenWarten(SM_Hsm* me, const SM_Event* e);
SM_State BFH_FehlerdatenMenue(SM_Hsm* me, const SM_Event* e);
SM_State BFH_KeineFehlerdaten(SM_Hsm* me, const SM_Event* e);
SM_State BFH_LoeschenAbfrage(SM_Hsm* me, const SM_Event* e);
SM_State BFH_LoeschenFeedback(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BFH_PowerOn();
