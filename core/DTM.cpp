// Timer task (task 4) and the tick routines.
//
// Counters are shared between the timer task (application thread) and the
// tick routines (host timer threads); both touch them only under the
// interrupt lock, and the ticks post their expiries after releasing it.
#include "core/DTM.h"

#include <algorithm>
#include <atomic>
#include <iterator>

#include "core/KEY.h"
#include "hal/HAL.h"
#include "hal/host.h"

namespace {

struct OneShot {
    std::uint16_t counter;
    std::uint16_t expiry; // the arm signal is expiry - 1
    std::uint8_t task;
};

struct Periodic {
    std::uint16_t counter;
    std::uint16_t reload;
    std::uint16_t sig;
    std::uint8_t task;
};

constexpr std::uint8_t kPrescale10ms = 20;
constexpr std::uint8_t kPrescale100ms = 2;
enum : std::uint8_t { kDisTick, kDisTick30s, kDisTick60s, kTick5s };

struct Dtm {
    OneShot fast[2] = {
        {0, SIG_TMR_FAST_TIMEOUT, BED_Task},
        {0, SIG_TMR_KEY_TIMEOUT, KEY_Task},
    };
    OneShot slow[8] = {
        {0, SIG_TMR_DATA_TIMEOUT, BED_Task}, {0, SIG_TMR_LIGHT_TIMEOUT, BED_Task},
        {0, SIG_TMR_HINT_TIMEOUT, BED_Task}, {0, SIG_TMR_SERVICE_TIMEOUT, BED_Task},
        {0, SIG_TMR_IDLE_TIMEOUT, BED_Task}, {0, SIG_TMR_WAIT_TIMEOUT, BED_Task},
        {0, SIG_TMR_HWQC_TIMEOUT, BED_Task}, {0, SIG_TMR_START_TIMEOUT, BED_Task},
    };
    Periodic periodic[4] = {
        {0, 10, SIG_DIS_TICK, DIS_Task},
        {0, 300, SIG_DIS_TICK_30S, DIS_Task},
        {0, 600, SIG_DIS_TICK_60S, DIS_Task},
        {0, 50, SIG_TICK_5S, BED_Task},
    };
    std::atomic<std::uint32_t> ms{0}; // counted without the lock
    std::uint32_t ticks10ms = 0;
    std::uint32_t ticks100ms = 0;
    std::uint32_t seconds = 0;
    std::uint8_t prescale10ms = kPrescale10ms;
    std::uint8_t prescale100ms = kPrescale100ms;
    void (*tick10msHook)() = nullptr;
};

Dtm dtm;

OneShot* FindOneShot(std::uint16_t armSignal)
{
    for (OneShot& t : dtm.fast) {
        if (t.expiry == armSignal + 1) {
            return &t;
        }
    }
    for (OneShot& t : dtm.slow) {
        if (t.expiry == armSignal + 1) {
            return &t;
        }
    }
    return nullptr;
}

template <std::size_t N> void CountDown(OneShot (&table)[N], SM_Deferred& out)
{
    for (OneShot& t : table) {
        if (t.counter != 0 && --t.counter == 0) {
            out.Add(t.task, t.expiry, 0);
        }
    }
}

} // namespace

std::uint32_t DTM_HostLocalSeconds()
{
    const HOST_LocalTime t = HOST().localTime();
    std::int64_t local = t.utcSeconds - static_cast<std::int64_t>(t.biasMinutes) * 60;
    if (t.daylightSaving) {
        local += 3600;
    }
    return static_cast<std::uint32_t>(local);
}

namespace {

// Runs inside the main task's start, which already holds the interrupt lock.
void Start(std::uint32_t startMode)
{
    if (startMode != 2) {
        dtm.seconds = DTM_HostLocalSeconds();
        dtm.periodic[kDisTick].counter = 10;
        dtm.periodic[kDisTick30s].counter = 300;
        dtm.periodic[kDisTick60s].counter = 600;
    }
    dtm.periodic[kTick5s].counter = 50;
    dtm.prescale10ms = kPrescale10ms;
    dtm.prescale100ms = kPrescale100ms;
    dtm.ms = 0;
    dtm.ticks10ms = 0;
    dtm.ticks100ms = 0;
    for (OneShot& t : dtm.fast) {
        t.counter = 0;
    }
    for (OneShot& t : dtm.slow) {
        // The wait and start-up timers run on across a restart.
        if (t.expiry != SIG_TMR_WAIT_TIMEOUT && t.expiry != SIG_TMR_START_TIMEOUT) {
            t.counter = 0;
        }
    }
    tim_startTimers();
}

} // namespace

SM_State DTM_TimerTask(SM_Hsm*, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_Trace("\n DTM_TimerTask Entry");
        return nullptr;
    case SIG_INIT:
        HAL_Trace("\n DTM_TimerTask Init");
        Start(e->par);
        return nullptr;
    case SIG_EXIT:
        HAL_Trace("\n DTM_TimerTask Exit");
        return nullptr;
    case SIG_TIMERS_ON:
        tim_enableAllTimers();
        return nullptr;
    case SIG_TIMERS_OFF:
        tim_disableAllTimers();
        return nullptr;
    case SIG_CLOCK_SET:
        __disable_interrupt();
        dtm.seconds = e->par;
        __enable_interrupt();
        return nullptr;
    case SIG_BEEP:
        HAL_Beep();
        return nullptr;
    default:
        break;
    }
    if (OneShot* t = FindOneShot(e->sig)) {
        if (e->sig == SIG_TMR_HINT_SET) {
            // A late expiry of an earlier arming must not reach the screen:
            // in interrupt context no tick sits between its count-down and
            // its post while we arm and purge.
            HAL_IsrEnter();
            t->counter = static_cast<std::uint16_t>(e->par);
            __enable_interrupt();
            SM_PurgeSignal(BED_Task, SIG_TMR_HINT_TIMEOUT);
            __disable_interrupt();
            HAL_IsrLeave();
            return nullptr;
        }
        __disable_interrupt();
        t->counter = static_cast<std::uint16_t>(e->par);
        __enable_interrupt();
        return nullptr;
    }
    return SM_Top;
}

void DTM_Tick1ms()
{
    dtm.ms.fetch_add(1, std::memory_order_relaxed);
}

void DTM_InstallTick10msHook(void (*hook)())
{
    dtm.tick10msHook = hook;
}

void DTM_Tick10ms()
{
    if (dtm.tick10msHook != nullptr) {
        dtm.tick10msHook();
    }
    SM_Deferred out;
    ++dtm.ticks10ms;
    CountDown(dtm.fast, out);
    if (--dtm.prescale10ms == 0) {
        dtm.prescale10ms = kPrescale10ms;
        out.Add(BED_Task, SIG_TICK_10MS, 0);
    }
    out.PostAll();
}

void DTM_Tick20ms()
{
    KEY_Scan();
}

void DTM_Tick100ms()
{
    SM_Deferred out;
    if (++dtm.ticks100ms % 10 == 0) {
        ++dtm.seconds;
    }
    CountDown(dtm.slow, out);
    for (Periodic& p : dtm.periodic) {
        if (p.counter == 0) {
            p.counter = p.reload;
            out.Add(p.task, p.sig, 0);
        } else {
            --p.counter;
        }
    }
    if (--dtm.prescale100ms == 0) {
        dtm.prescale100ms = kPrescale100ms;
        out.Add(BED_Task, SIG_TICK_100MS, 0);
    }
    out.PostAll();
}

std::uint32_t DTM_GetSeconds()
{
    __disable_interrupt();
    const std::uint32_t s = dtm.seconds;
    __enable_interrupt();
    return s;
}

std::uint32_t DTM_Milliseconds()
{
    return dtm.ms.load(std::memory_order_relaxed);
}

std::uint32_t DTM_Ticks10ms()
{
    __disable_interrupt();
    const std::uint32_t n = dtm.ticks10ms;
    __enable_interrupt();
    return n;
}

std::uint32_t DTM_Ticks100ms()
{
    __disable_interrupt();
    const std::uint32_t n = dtm.ticks100ms;
    __enable_interrupt();
    return n;
}

void DTM_PowerOn()
{
    const Dtm fresh; // the atomic counter rules out a plain assignment
    std::copy(std::begin(fresh.fast), std::end(fresh.fast), std::begin(dtm.fast));
    std::copy(std::begin(fresh.slow), std::end(fresh.slow), std::begin(dtm.slow));
    std::copy(std::begin(fresh.periodic), std::end(fresh.periodic), std::begin(dtm.periodic));
    dtm.ms = 0;
    dtm.ticks10ms = fresh.ticks10ms;
    dtm.ticks100ms = fresh.ticks100ms;
    dtm.seconds = fresh.seconds;
    dtm.prescale10ms = fresh.prescale10ms;
    dtm.prescale100ms = fresh.prescale100ms;
}
