// Interrupt lock, trace, backlight, beeper and the board operations that
// have no meaning on the desktop.
#include "hal/HAL.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <thread>

#include "hal/host.h"

namespace {

constexpr std::uint32_t kInitialBacklight = 2;
constexpr std::uint32_t kDimOnColor = 0x4F4F4F;
constexpr std::uint32_t kInitialOnColor = 0xCECECE;

// A recursive lock lighter than the general one: the owner is remembered, a
// second lock by the owner only counts.
class RecursiveLock {
  public:
    void lock()
    {
        const std::thread::id self = std::this_thread::get_id();
        if (owner_.load(std::memory_order_relaxed) == self) {
            ++depth_;
            return;
        }
        mutex_.lock();
        owner_.store(self, std::memory_order_relaxed);
        depth_ = 1;
    }
    void unlock()
    {
        if (--depth_ == 0) {
            owner_.store(std::thread::id{}, std::memory_order_relaxed);
            mutex_.unlock();
        }
    }

  private:
    std::mutex mutex_;
    std::atomic<std::thread::id> owner_{};
    int depth_ = 0;
};

struct Hal {
    RecursiveLock interruptLock;
    RecursiveLock contextLock;
    // Only touched by the thread holding interruptLock; atomic so that a
    // nesting check on another thread reads a whole value.
    std::atomic<std::uint32_t> nesting{0};
    bool interruptsInitialised = false;
    std::uint32_t backlight = kInitialBacklight;
    std::uint32_t onColor = kInitialOnColor;
    std::uint32_t offColor = 0x000000;
    HAL_Vectors vectors{};
};

Hal hal;

} // namespace

void HAL_InitInterrupts()
{
    // Once: another thread may hold the lock while the main task restarts,
    // and resetting its count under it would unbalance every later pair.
    if (hal.interruptsInitialised) {
        return;
    }
    hal.interruptsInitialised = true;
    hal.nesting = 0;
}

void __disable_interrupt()
{
    hal.interruptLock.lock();
    // The lock orders the counter; the atomic only keeps a reader elsewhere from tearing it.
    const std::uint32_t n = hal.nesting.load(std::memory_order_relaxed) + 1;
    hal.nesting.store(n, std::memory_order_relaxed);
    if (n != 1) {
        HAL_Trace("\nFATAL ERROR: IAR_Intrinsics __disable_interrupt() %d", static_cast<int>(n));
    }
}

void __enable_interrupt()
{
    const std::uint32_t before = hal.nesting.load(std::memory_order_relaxed);
    hal.nesting.store(before - 1, std::memory_order_relaxed);
    if (before != 1) {
        HAL_Trace("\nFATAL ERROR: IAR_Intrinsics __enable_interrupt() %d", static_cast<int>(before - 1));
    }
    hal.interruptLock.unlock();
}

void HAL_IsrEnter()
{
    hal.contextLock.lock();
    __disable_interrupt();
}

void HAL_IsrLeave()
{
    __enable_interrupt();
    hal.contextLock.unlock();
}

std::uint32_t HAL_InterruptNesting()
{
    return hal.nesting;
}

void HAL_SetBacklight(std::uint32_t level)
{
    if (level == hal.backlight) {
        return;
    }
    if (level > 5) {
        HAL_Trace("\n*** Display-Beleuchtung, FEHLER ***");
        return;
    }
    hal.backlight = level;
    hal.onColor = kDimOnColor; // the display's vector sets the contrast's grey for a bright light
    hal.offColor = 0x000000;
    if (hal.vectors.backlightChanged != nullptr) {
        hal.vectors.backlightChanged(level);
    }
}

std::uint32_t HAL_GetBacklight()
{
    return hal.backlight;
}

void HAL_SetBrightness(std::uint8_t value)
{
    HAL_SetBacklight(value >= 25 ? 4 : 2);
}

std::uint32_t HAL_LcdOnColor()
{
    return hal.onColor;
}

std::uint32_t HAL_LcdOffColor()
{
    return hal.offColor;
}

void HAL_SetLcdOnColor(std::uint32_t color)
{
    hal.onColor = color;
}

void HAL_InstallVectors(const HAL_Vectors& vectors)
{
    hal.vectors = vectors;
}

const HAL_Vectors& HAL_InstalledVectors()
{
    return hal.vectors;
}

void HAL_Beep()
{
    HOST().beep();
}

void HAL_Trace(const char* format, ...)
{
    if (format == nullptr) {
        return;
    }
    char line[256];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args); // cuts at 255 characters
    va_end(args);
    HOST().trace(line);
}

std::uint8_t HAL_OsVersion()
{
    return 8;
}

void HAL_PowerOn()
{
    hal.nesting = 0;
    hal.interruptsInitialised = false;
    hal.backlight = kInitialBacklight;
    hal.onColor = kInitialOnColor;
    hal.offColor = 0x000000;
    hal.vectors = HAL_Vectors{};
    tim_PowerOn();
}

// Board operations: empty on the desktop, called where the board needs them.
void HAL_BoardInit() {}
void HAL_BoardInitPorts() {}
void HAL_BacklightInit() {}
void HAL_BacklightPwmInit() {}
void HAL_BacklightPwmStart() {}
void HAL_BacklightRelease() {}
void HAL_BacklightStepDown() {}
void HAL_BacklightStepUp() {}
void HAL_WatchdogInit() {}
void HAL_WatchdogStart() {}
void HAL_WatchdogTrigger() {}
std::uint8_t HAL_WatchdogReadBack()
{
    return 0;
}
void HAL_WatchdogPrepare() {}
void HAL_InputStart() {}
void HAL_AdcInit() {}
void HAL_ExtraDevicesInit() {}
void HAL_UartReceiveEnable() {}
void HAL_UartReceiveDisable() {}
void HAL_HardwareReset(std::uint8_t) {}
void HAL_BusDriverLines(std::uint8_t) {}
void HAL_FactoryFunction(std::uint8_t) {}
std::uint16_t HAL_OwnReading(std::uint8_t)
{
    return 0;
}
