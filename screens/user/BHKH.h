// Heating curve: slope and level, each edited over its chart.
#pragma once

#include "core/SM.h"

SM_State BHKH_NeigungNiveauMenue(SM_Hsm* me, const SM_Event* e);
SM_State BHKH_NeigungDialog(SM_Hsm* me, const SM_Event* e);
SM_State BHKH_NiveauDialog(SM_Hsm* me, const SM_Event* e);
SM_State BHKH_FeedbackNeigung(SM_Hsm* me, const SM_Event* e);
SM_State BHKH_FeedbackNiveau(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BHKH_PowerOn();
