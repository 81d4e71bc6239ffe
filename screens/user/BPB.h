// Party mode: on with a party room temperature, or off.
#pragma once

#include "core/SM.h"

SM_State BPB_Partybetrieb(SM_Hsm* me, const SM_Event* e);
SM_State BPB_PartybetriebRaumtemperatur(SM_Hsm* me, const SM_Event* e);
SM_State BPB_PartybetriebFeedback(SM_Hsm* me, const SM_Event* e);
SM_State BPB_PartybetriebReset(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BPB_PowerOn();
