// Diagnosis short query: the plant's codes and flags on one page.
#pragma once

#include "core/SM.h"

SM_State BDAK_DiagnoseKurzabfrageMenue(SM_Hsm* me, const SM_Event* e);

// Static memory as at power-on (hosts that run several panels in one process).
void BDAK_PowerOn();
