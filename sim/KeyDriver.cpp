#include "sim/KeyDriver.h"

#include "core/KEY.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "hal/HAL.h"

namespace {

// Region order of the device pictures -> logical keys.
constexpr std::uint8_t kRegionToKey[8] = {KEY_BACK, KEY_UP, KEY_LEFT, KEY_OK, KEY_RIGHT, KEY_DOWN, KEY_HELP, KEY_MENU};

void StatusFlag(std::uint8_t mask, bool on)
{
    DAT_SetStatusFlag(DAT_STATUS_CONTROLLER, mask, on);
    SM_Post(BED_Task, SIG_STATUS_UPDATED, 0);
}

void TestButton(int index)
{
    switch (index) {
    case 13:
        SM_Post(BED_Task, SIG_3UHR_RESTART, 0);
        break;
    case 14:
        SM_Post(BED_Task, SIG_REG_RESET, 0);
        break;
    case 15:
    case 16:
        StatusFlag(DAT_CTRL_FA_PARAMETRISATION, index == 15);
        break;
    case 17:
    case 18:
        StatusFlag(DAT_CTRL_CALIBRATION, index == 17);
        break;
    case 31:
        SM_Post(BED_Task, SIG_KEY_OK_BACK, 0);
        break;
    case 32:
        SM_Post(BED_Task, SIG_KEY_MENU_OK, 0);
        break;
    case 33:
        SM_Post(BED_Task, SIG_MENU_TEST, 0);
        break;
    default:
        break;
    }
}

} // namespace

std::string KeyNames(std::uint8_t raw)
{
    // The order a person writes them in: the held key first.
    static constexpr struct {
        const char* name;
        std::uint8_t key;
    } kNames[] = {{"MENU", KEY_MENU}, {"OK", KEY_OK},     {"UP", KEY_UP},       {"DOWN", KEY_DOWN},
                  {"BACK", KEY_BACK}, {"LEFT", KEY_LEFT}, {"RIGHT", KEY_RIGHT}, {"HELP", KEY_HELP}};
    std::string names;
    for (const auto& n : kNames) {
        if ((raw & KEY_RawBits(n.key)) != 0) {
            names += (names.empty() ? "" : "+") + std::string(n.name);
        }
    }
    return names;
}

void KeyDriver::init()
{
    std::lock_guard<std::mutex> guard(lock_);
    byte_ = 0;
    enable_ = 0;
    reads_ = 0;
    pending_ = false;
}

void KeyDriver::setLatch(bool on)
{
    std::lock_guard<std::mutex> guard(lock_);
    latch_ = on;
}

void KeyDriver::setReadEnable(std::uint8_t flags)
{
    std::lock_guard<std::mutex> guard(lock_);
    enable_ = flags;
}

std::uint8_t KeyDriver::read()
{
    std::lock_guard<std::mutex> guard(lock_);
    if ((enable_ & 1U) == 0) {
        return 0;
    }
    const std::uint8_t value = byte_;
    if (reads_ < kLatchReads) {
        ++reads_;
    }
    if (pending_ && reads_ >= kLatchReads) {
        pending_ = false;
        byte_ = next_;
        reads_ = 0;
    }
    return value;
}

std::uint8_t KeyDriver::logicalKeyOfRegion(int index)
{
    if (index >= 0 && index < 8) {
        return kRegionToKey[index];
    }
    if (index >= 8 && index <= 12) {
        return static_cast<std::uint8_t>(index);
    }
    return KEY_INVALID;
}

void KeyDriver::onHardkey(int index, bool pressed)
{
    const std::uint8_t logical = logicalKeyOfRegion(index);
    if (logical < KEY_COUNT) {
        setLogicalKey(logical, pressed);
        return;
    }
    if (!pressed || index < 0 || index >= kRegionLimit) {
        return;
    }
    HAL_IsrEnter();
    __enable_interrupt();
    TestButton(index);
    __disable_interrupt();
    HAL_IsrLeave();
}

void KeyDriver::setLogicalKey(std::uint8_t logical, bool pressed)
{
    // Each press replaces the byte: two mouse keys never combine.
    setRaw(pressed ? KEY_RawBits(logical) : 0);
}

void KeyDriver::setRaw(std::uint8_t raw)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (latch_ && byte_ != 0 && reads_ < kLatchReads && raw != byte_) {
        pending_ = true;
        next_ = raw;
        return;
    }
    pending_ = false;
    if (raw != byte_) {
        byte_ = raw;
        reads_ = 0;
    }
}
