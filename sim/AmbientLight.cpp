#include "sim/AmbientLight.h"

#include <cstdint>

#include "core/BKL.h"
#include "hal/HAL.h"

namespace {
// A room as bright as the regulation aims at: its driver steps are empty here anyway.
constexpr std::uint32_t kAmbient = 64;
} // namespace

void SIM_AmbientLightStep()
{
    if (tim_enableCount(HAL_PERIOD_10MS) == 0) {
        return; // the converter runs with the hardware the application has started
    }
    HAL_IsrEnter();
    BKL_Step(kAmbient);
    HAL_IsrLeave();
}
