#include "data/DAT.h"

#include "hal/HAL.h"

namespace {

struct Image {
    std::uint8_t status[DAT_STATUS_BLOCK_SIZE];
};

Image image;

} // namespace

std::uint8_t DAT_StatusByte(std::uint8_t index)
{
    if (index >= DAT_STATUS_BLOCK_SIZE) {
        return 0;
    }
    __disable_interrupt();
    const std::uint8_t v = image.status[index];
    __enable_interrupt();
    return v;
}

// Written by the status telegram and the host's test buttons, both in
// interrupt context, and read by the screens: guarded by the interrupt lock.
void DAT_SetStatusFlag(std::uint8_t index, std::uint8_t mask, bool on)
{
    if (index >= DAT_STATUS_BLOCK_SIZE) {
        return;
    }
    __disable_interrupt();
    image.status[index] = static_cast<std::uint8_t>(on ? image.status[index] | mask : image.status[index] & ~mask);
    __enable_interrupt();
}
