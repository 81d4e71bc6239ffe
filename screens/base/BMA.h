// Message overlays of the base display, and the message that operation is locked.
#pragma once

#include "core/SM.h"

SM_State BMA_Stoerung(SM_Hsm* me, const SM_Event* e);
SM_State BMA_Feuerungsautomat(SM_Hsm* me, const SM_Event* e);
SM_State BMA_KalibrationAktiv(SM_Hsm* me, const SM_Event* e);
SM_State BMA_ParametrierungFaAktiv(SM_Hsm* me, const SM_Event* e);
SM_State BMA_BefuellungAktiv(SM_Hsm* me, const SM_Event* e);
SM_State BMA_EntlueftungAktiv(SM_Hsm* me, const SM_Event* e);
SM_State BMA_UhrzeitStellen(SM_Hsm* me, const SM_Event* e);
SM_State BMA_Wartung(SM_Hsm* me, const SM_Event* e);
SM_State BMA_BedienungGesperrt(SM_Hsm* me, const SM_Event* e);
SM_State BMA_BedienungGesperrtAnzeige(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BMA_PowerOn();
