// Help display: a help page for the screen HELP was pressed on.
#pragma once

#include "core/SM.h"

SM_State BHA_Hilfeanzeige(SM_Hsm* me, const SM_Event* e);
