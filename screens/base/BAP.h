// Flue-gas test: the base display's "Prüfbetrieb" asks whether to start it,
// then shows the boiler while the control unit runs it.
#pragma once

#include "core/SM.h"

SM_State BAP_Abgaspruefung(SM_Hsm* me, const SM_Event* e);
SM_State BAP_Startabfrage(SM_Hsm* me, const SM_Event* e);
SM_State BAP_Abgasmessung(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BAP_PowerOn();
