#include "hal/host.h"

#include <cassert>

namespace {
PanelHost* installed = nullptr;
}

void HOST_Install(PanelHost* host)
{
    installed = host;
}

PanelHost& HOST()
{
    assert(installed != nullptr && "no host installed");
    return *installed;
}
