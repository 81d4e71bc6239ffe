// Hot-water time program: the automatic program or a time program of its own.
#pragma once

#include "core/SM.h"

SM_State BWWS_WWSchaltuhr(SM_Hsm* me, const SM_Event* e);
SM_State BWWS_AutomatikMenue(SM_Hsm* me, const SM_Event* e);
SM_State BWWS_AutomatikMenueFeedback(SM_Hsm* me, const SM_Event* e);
SM_State BWWS_ZeitraumMenue(SM_Hsm* me, const SM_Event* e);
SM_State BWWS_SchaltintervallMenue(SM_Hsm* me, const SM_Event* e);
SM_State BWWS_EditEinschaltzeit(SM_Hsm* me, const SM_Event* e);
SM_State BWWS_EditAusschaltzeit(SM_Hsm* me, const SM_Event* e);
SM_State BWWS_SchaltintervallFeedback(SM_Hsm* me, const SM_Event* e);
