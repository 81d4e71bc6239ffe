// Key task (task 3) and the key scan.
#include "core/KEY.h"

#include "hal/host.h"

namespace {

enum : std::uint8_t { kRepeat = 1, kHold = 2 };

struct KeyDef {
    std::uint8_t raw;
    std::uint8_t flags;
    std::uint16_t delay; // 10 ms ticks before the first report
    std::uint16_t press;
    std::uint16_t release;
};

constexpr KeyDef kKeys[KEY_COUNT] = {
    {0x08, kRepeat, 0, SIG_KEY_UP, SIG_KEY_UP_RELEASE},
    {0x20, kHold, 0, SIG_KEY_OK, SIG_KEY_OK_RELEASE},
    {0x10, kRepeat, 0, SIG_KEY_DOWN, SIG_KEY_DOWN_RELEASE},
    {0x01, 0, 0, SIG_KEY_BACK, SIG_KEY_BACK_RELEASE},
    {0x80, 0, 0, SIG_KEY_MENU, SIG_KEY_MENU_RELEASE},
    {0x02, kRepeat, 0, SIG_KEY_LEFT, SIG_KEY_LEFT_RELEASE},
    {0x04, kRepeat, 0, SIG_KEY_RIGHT, SIG_KEY_RIGHT_RELEASE},
    {0x40, 0, 0, SIG_KEY_HELP, SIG_KEY_HELP_RELEASE},
    {0x28, kRepeat, 0, SIG_KEY_OK_UP, SIG_KEY_OK_UP_RELEASE},
    {0x30, kRepeat, 0, SIG_KEY_OK_DOWN, SIG_KEY_OK_DOWN_RELEASE},
    {0xA0, 0, 400, SIG_KEY_MENU_OK, SIG_KEY_MENU_OK_RELEASE},
    {0x90, 0, 200, SIG_KEY_MENU_DOWN, SIG_KEY_MENU_DOWN_RELEASE},
    {0x21, 0, 200, SIG_KEY_OK_BACK, SIG_KEY_OK_BACK_RELEASE},
};

// The hold report of every key; SIG_NONE, so holding OK reports nothing more.
constexpr std::uint16_t kHoldSignal = SIG_NONE;

constexpr std::uint16_t kRepeatDelay = 80;  // 800 ms to the first repeat
constexpr std::uint16_t kRepeatPeriod = 40; // 400 ms between repeats
constexpr std::uint16_t kFastPeriod = 10;   // 100 ms at full speed
constexpr std::uint16_t kHoldDelay = 400;
constexpr std::uint8_t kScanPrescale = 10;

// Written only by the scan (tick routine).
struct Scan {
    std::uint32_t samples[2] = {0, 0};
    std::uint8_t older = 0;
    std::uint32_t current = KEY_NONE;
    std::uint8_t prescale = kScanPrescale;
};

// Written only by the key task's handlers (application thread). The key
// being reported comes from SIG_KEY_RAW_DOWN, not from the scan: a click
// shorter than the main loop's cycle has left the scan at "none" by then.
struct Task {
    std::uint8_t key = KEY_NONE;
    std::uint16_t repeatCount = 0;
    std::uint8_t rate = 255;
    std::uint8_t accel = 255;
};

Scan scan;
Task task;

bool IsCombination(std::uint32_t key)
{
    return key >= KEY_OK_UP && key <= KEY_OK_BACK;
}

void ArmKeyTimer(std::uint16_t ticks)
{
    SM_Post(DTM_Task, SIG_TMR_KEY_SET, ticks);
}

void Report()
{
    if (task.key >= KEY_COUNT) {
        return;
    }
    SM_Post(BED_Task, SIG_KEY_ANY, task.repeatCount);
    SM_Post(BED_Task, kKeys[task.key].press, task.repeatCount);
}

// Interval of the next repeat in 10 ms ticks; decays accel.
std::uint16_t NextInterval()
{
    const std::uint32_t p = static_cast<std::uint32_t>(task.rate) * task.accel;
    std::uint32_t interval = p * 40 / 65025;
    task.accel = static_cast<std::uint8_t>(p / 255);
    if (interval < kFastPeriod) {
        interval = kFastPeriod;
    }
    return static_cast<std::uint16_t>(interval);
}

// After a report in the pressed state: repeat keys wait for repeating,
// hold keys for the hold report, others stay.
void GoOnAfterFirstReport(SM_Hsm* me)
{
    const std::uint8_t flags = kKeys[task.key].flags;
    if ((flags & kRepeat) != 0) {
        SM_Tran(me, KEY_Top, KEY_RepeatWait);
    } else if ((flags & kHold) != 0) {
        SM_Tran(me, KEY_Top, KEY_Hold);
    }
}

} // namespace

std::uint8_t KEY_RawBits(std::uint8_t key)
{
    return key < KEY_COUNT ? kKeys[key].raw : 0;
}

std::uint8_t KEY_Decode(std::uint8_t raw)
{
    if (raw == 0) {
        return KEY_NONE;
    }
    for (std::uint8_t k = 0; k < KEY_COUNT; ++k) {
        if (kKeys[k].raw == raw) {
            return k;
        }
    }
    return KEY_INVALID;
}

void KEY_Scan()
{
    SM_Deferred out;
    scan.samples[scan.older] = KEY_ReadPort();
    scan.older ^= 1U;
    if (scan.samples[0] == scan.samples[1]) {
        const std::uint8_t key = KEY_Decode(static_cast<std::uint8_t>(scan.samples[0]));
        if (key != KEY_INVALID && key != scan.current) {
            if (key == KEY_NONE) {
                out.Add(KEY_Task, SIG_KEY_RAW_UP, scan.current);
                scan.current = KEY_NONE;
            } else if (!IsCombination(scan.current)) {
                // While a combination is down, only "all keys up" counts.
                out.Add(KEY_Task, SIG_KEY_RAW_DOWN, key);
                scan.current = key;
            }
        }
    }
    KEY_SetReadEnable(1);
    if (--scan.prescale == 0) {
        scan.prescale = kScanPrescale;
        out.Add(BED_Task, SIG_TICK_KEYSCAN, 0);
    }
    out.PostAll();
}

SM_State KEY_Top(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        scan = Scan{};
        task = Task{};
        KEY_Init();
        return nullptr;
    case SIG_INIT:
        SM_Init(me, KEY_Idle);
        return nullptr;
    case SIG_KEY_RAW_DOWN:
        task.key = static_cast<std::uint8_t>(e->par);
        SM_Tran(me, KEY_Top, KEY_Pressed);
        return nullptr;
    case SIG_KEY_RAW_UP: {
        ArmKeyTimer(0);
        task.repeatCount = 0;
        const auto key = static_cast<std::uint8_t>(e->par);
        SM_Post(BED_Task, SIG_KEY_RELEASED, 0);
        if (key < KEY_COUNT) {
            SM_Post(BED_Task, kKeys[key].release, 0);
        }
        task.key = KEY_NONE;
        SM_Tran(me, KEY_Top, KEY_Idle);
        return nullptr;
    }
    case SIG_KEY_REPEAT_RATE:
        task.rate = static_cast<std::uint8_t>(255 - e->par);
        return nullptr;
    case SIG_KEY_FLUSH:
        SM_Purge(BED_Task, SIG_KEY_FIRST, SIG_KEY_LAST);
        return nullptr;
    default:
        return SM_Top;
    }
}

SM_State KEY_Idle(SM_Hsm*, const SM_Event*)
{
    return KEY_Top;
}

SM_State KEY_Pressed(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_INIT: {
        if (task.key >= KEY_COUNT) {
            return nullptr;
        }
        const std::uint16_t delay = kKeys[task.key].delay;
        if (delay != 0) {
            ArmKeyTimer(delay);
            return nullptr;
        }
        Report();
        GoOnAfterFirstReport(me);
        return nullptr;
    }
    case SIG_TMR_KEY_TIMEOUT:
        Report();
        GoOnAfterFirstReport(me);
        return nullptr;
    default:
        return KEY_Top;
    }
}

SM_State KEY_RepeatWait(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        ArmKeyTimer(kRepeatDelay);
        return nullptr;
    case SIG_TMR_KEY_TIMEOUT:
        ++task.repeatCount;
        Report();
        SM_Tran(me, KEY_Top, KEY_Repeating);
        return nullptr;
    default:
        return KEY_Top;
    }
}

SM_State KEY_Repeating(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        task.accel = 255;
        ArmKeyTimer(kRepeatPeriod);
        return nullptr;
    case SIG_TMR_KEY_TIMEOUT: {
        ++task.repeatCount;
        Report();
        const std::uint16_t interval = NextInterval();
        ArmKeyTimer(interval);
        if (interval == kFastPeriod) {
            SM_Tran(me, KEY_Top, KEY_FastRepeat);
        }
        return nullptr;
    }
    default:
        return KEY_Top;
    }
}

SM_State KEY_FastRepeat(SM_Hsm*, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(BED_Task, SIG_KEY_FAST_REPEAT, 10);
        return nullptr;
    case SIG_TMR_KEY_TIMEOUT:
        ++task.repeatCount;
        Report();
        ArmKeyTimer(kFastPeriod);
        return nullptr;
    default:
        return KEY_Top;
    }
}

SM_State KEY_Hold(SM_Hsm*, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        ArmKeyTimer(kHoldDelay);
        return nullptr;
    case SIG_TMR_KEY_TIMEOUT:
        ++task.repeatCount;
        SM_Post(BED_Task, kHoldSignal, task.repeatCount);
        return nullptr;
    default:
        return KEY_Top;
    }
}

void KEY_Init()
{
    HOST().keyPortInit();
}

void KEY_SetReadEnable(std::uint8_t flags)
{
    HOST().keyPortSetReadEnable(flags);
}

std::uint8_t KEY_ReadPort()
{
    return HOST().keyPortRead();
}

void KEY_PowerOn()
{
    scan = Scan{};
    task = Task{};
}
