// Heating time program of the current circuit.
#pragma once

#include "core/SM.h"

SM_State BHKS_HKSchaltuhr(SM_Hsm* me, const SM_Event* e);
SM_State BHKS_ZeitraumMenue(SM_Hsm* me, const SM_Event* e);
SM_State BHKS_SchaltintervallMenue(SM_Hsm* me, const SM_Event* e);
SM_State BHKS_EditEinschaltzeit(SM_Hsm* me, const SM_Event* e);
SM_State BHKS_EditAusschaltzeit(SM_Hsm* me, const SM_Event* e);
SM_State BHKS_SchaltintervallFeedback(SM_Hsm* me, const SM_Event* e);
