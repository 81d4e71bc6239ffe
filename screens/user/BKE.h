// Root of every screen: key activity, operation timeout, contrast keys.
#pragma once

#include "core/SM.h"

SM_State BKE_Kontrasteinstellung(SM_Hsm* me, const SM_Event* e);
