// Circulation time program: the automatic program or a time program of its own.
#pragma once

#include "core/SM.h"

SM_State BZPS_ZPSchaltuhr(SM_Hsm* me, const SM_Event* e);
SM_State BZPS_AutomatikMenue(SM_Hsm* me, const SM_Event* e);
SM_State BZPS_AutomatikMenueFeedback(SM_Hsm* me, const SM_Event* e);
SM_State BZPS_ZeitraumMenue(SM_Hsm* me, const SM_Event* e);
SM_State BZPS_SchaltintervallMenue(SM_Hsm* me, const SM_Event* e);
SM_State BZPS_EditEinschaltzeit(SM_Hsm* me, const SM_Event* e);
SM_State BZPS_EditAusschaltzeit(SM_Hsm* me, const SM_Event* e);
SM_State BZPS_SchaltintervallFeedback(SM_Hsm* me, const SM_Event* e);
