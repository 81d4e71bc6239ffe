// The top of the screen tree, as installed by the application.
#include "screens/common/TOP.h"

namespace {

TOP_States top{};

} // namespace

void TOP_Install(const TOP_States& states)
{
    top = states;
}

void TOP_PowerOn()
{
    top = TOP_States{};
}

SM_Handler TOP_SystemMonitor()
{
    return top.systemMonitor;
}

SM_Handler TOP_StartUp()
{
    return top.startUp;
}

SM_Handler TOP_MenuMonitor()
{
    return top.menuMonitor;
}

SM_Handler TOP_BaseDisplay()
{
    return top.baseDisplay;
}

SM_Handler TOP_SystemReset()
{
    return top.systemReset;
}
