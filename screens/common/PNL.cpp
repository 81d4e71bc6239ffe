// Panel flags shared by the screens.
#include "screens/common/PNL.h"

PNL_Flags PNL_flags;

void PNL_PowerOn()
{
    PNL_flags = PNL_Flags{};
}
