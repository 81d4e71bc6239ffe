// Hardware services the panel expects from its board: interrupt lock,
// periodic timer ticks, backlight, beeper, watchdog and trace output.
// On the desktop they are provided by the host (see hal/host.h).
#pragma once

#include <cstdint>

// Interrupt lock. Critical regions never nest; nesting is traced, not fatal.
void HAL_InitInterrupts();
void __disable_interrupt(); // NOLINT(bugprone-reserved-identifier): the target's name
void __enable_interrupt();  // NOLINT(bugprone-reserved-identifier)
// Interrupt context: at most one simulated interrupt runs at a time.
void HAL_IsrEnter();
void HAL_IsrLeave();
std::uint32_t HAL_InterruptNesting();

// Periodic timers (1, 10, 20, 100 ms), gated by enable counters.
enum HAL_Period : std::uint8_t { HAL_PERIOD_1MS, HAL_PERIOD_10MS, HAL_PERIOD_20MS, HAL_PERIOD_100MS, HAL_PERIOD_COUNT };
inline constexpr std::uint32_t HAL_PeriodMs[HAL_PERIOD_COUNT] = {1, 10, 20, 100};
void tim_startTimers();
void tim_enableTimer1ms();
void tim_enableTimer10ms();
void tim_enableTimer20ms();
void tim_enableTimer100ms();
void tim_disableTimer1ms();
void tim_disableTimer10ms();
void tim_disableTimer20ms();
void tim_disableTimer100ms();
void tim_enableAllTimers();
void tim_disableAllTimers();
std::uint32_t tim_enableCount(HAL_Period period);
// Gates every period off without the checks: the application starts afresh
// (its earlier run may have been stopped with the ticks on).
void tim_resetEnables();
// Called by the host's time source for every tick of a period.
void HAL_TimerCallback(HAL_Period period);

// Calls of this layer into the layers above it. The application fills them in
// at start, with the interrupt lock held, as it would a vector table; an empty
// entry does nothing.
struct HAL_Vectors {
    void (*tick[HAL_PERIOD_COUNT])();              // in interrupt context, between HAL_IsrEnter and HAL_IsrLeave
    void (*backlightChanged)(std::uint32_t level); // after the level and the colours of the dim light are set
};
void HAL_InstallVectors(const HAL_Vectors& vectors);
const HAL_Vectors& HAL_InstalledVectors();

// Backlight levels 0..5 (0, 1 off; 2, 3 dim; 4, 5 bright) and LCD colours.
void HAL_SetBacklight(std::uint32_t level);
std::uint32_t HAL_GetBacklight();
void HAL_SetBrightness(std::uint8_t value);
std::uint32_t HAL_LcdOnColor();
std::uint32_t HAL_LcdOffColor();
// The contrast setting changes the on colour (the grey of the contrast).
void HAL_SetLcdOnColor(std::uint32_t color);
// The display's contrast at power-on (its grey is the first on colour); the
// data flash's default too while the factory settings lack it.
inline constexpr std::uint8_t HAL_LCD_CONTRAST_DEFAULT = 50;

void HAL_Beep();

// printf-style trace line, cut to 255 characters.
void HAL_Trace(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Host operating-system generation; 8 = other (every Linux host).
std::uint8_t HAL_OsVersion();

// Board operations without meaning on the desktop; called where the board needs them.
void HAL_BoardInit();
void HAL_BoardInitPorts();
void HAL_BacklightInit();
void HAL_BacklightPwmInit();
void HAL_BacklightPwmStart();
void HAL_BacklightRelease();
void HAL_BacklightStepDown();
void HAL_BacklightStepUp();
void HAL_WatchdogInit();
void HAL_WatchdogStart();
void HAL_WatchdogTrigger();
std::uint8_t HAL_WatchdogReadBack();
void HAL_WatchdogPrepare();
void HAL_InputStart();
void HAL_AdcInit();
void HAL_ExtraDevicesInit();

// Returns the layer to its state at process start (tests that need a fresh process).
void HAL_PowerOn();
void tim_PowerOn();

// Test serial port: reception on (the start-up screen opens its test window).
void HAL_UartReceiveEnable();
// The factory test's board operations: the port closed at the test's end,
// the reset and bus-driver lines, two further functions. Nothing on the
// desktop, where the port stays open for the next start.
void HAL_UartReceiveDisable();
void HAL_HardwareReset(std::uint8_t kind);
void HAL_BusDriverLines(std::uint8_t function);
void HAL_FactoryFunction(std::uint8_t function);
// The panel's own readings (the averaged light channels and others); no
// converter runs on the desktop, so each reads 0.
std::uint16_t HAL_OwnReading(std::uint8_t index);
