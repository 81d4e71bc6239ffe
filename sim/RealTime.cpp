#include "sim/RealTime.h"

#include <ctime>

#include "hal/HAL.h"

namespace {
// After a stall longer than this (a debugger, a suspended process) the
// ticks resume from now instead of catching up in a burst.
constexpr std::chrono::milliseconds kMaxCatchUp{500};
} // namespace

RealTime::RealTime() : start_(Clock::now()) {}

RealTime::~RealTime()
{
    stop();
}

void RealTime::stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    wakeUp_.notify_all();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void RealTime::hold(bool held)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        held_ = held;
    }
    wakeUp_.notify_all();
}

std::uint32_t RealTime::milliseconds()
{
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start_);
    return static_cast<std::uint32_t>(ms.count());
}

void RealTime::sleepStep()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void RealTime::sleepPart(std::uint32_t ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

bool RealTime::startTimer(std::uint8_t period)
{
    if (period >= HAL_PERIOD_COUNT) {
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_[period] = true;
    }
    if (!thread_.joinable()) {
        thread_ = std::thread([this] { run(); });
    }
    wakeUp_.notify_all();
    return true;
}

bool RealTime::OnlyMillisecondsRun() const
{
    return !running_[HAL_PERIOD_10MS] && !running_[HAL_PERIOD_20MS] && !running_[HAL_PERIOD_100MS];
}

void RealTime::run()
{
    Clock::time_point next[HAL_PERIOD_COUNT];
    for (std::uint8_t p = 0; p < HAL_PERIOD_COUNT; ++p) {
        next[p] = start_ + std::chrono::milliseconds(HAL_PeriodMs[p]);
    }
    std::unique_lock<std::mutex> lock(mutex_);
    while (!quit_) {
        if (held_) {
            wakeUp_.wait(lock, [this] { return quit_ || !held_; });
            const Clock::time_point now = Clock::now();
            for (std::uint8_t p = 0; p < HAL_PERIOD_COUNT; ++p) {
                next[p] = now + std::chrono::milliseconds(HAL_PeriodMs[p]);
            }
            continue;
        }
        // The 1 ms ticks only count; waking a thousand times a second for
        // them would cost more than the whole panel. They run, all of them
        // and each against its own deadline, when the thread wakes for the
        // others (or on its own when it is the only period running).
        Clock::time_point due = Clock::time_point::max();
        for (std::uint8_t p = 0; p < HAL_PERIOD_COUNT; ++p) {
            if (running_[p] && next[p] < due && (p != HAL_PERIOD_1MS || OnlyMillisecondsRun())) {
                due = next[p];
            }
        }
        if (due == Clock::time_point::max()) {
            wakeUp_.wait(lock);
            continue;
        }
        if (wakeUp_.wait_until(lock, due, [this] { return quit_ || held_; })) {
            continue;
        }
        // Every tick that fell due, in deadline order.
        const Clock::time_point now = Clock::now();
        for (std::uint8_t p = 0; p < HAL_PERIOD_COUNT; ++p) {
            if (running_[p] && now - next[p] > kMaxCatchUp) {
                next[p] = now;
            }
        }
        for (;;) {
            int earliest = -1;
            for (std::uint8_t p = 0; p < HAL_PERIOD_COUNT; ++p) {
                if (running_[p] && next[p] <= now && (earliest < 0 || next[p] < next[earliest])) {
                    earliest = p;
                }
            }
            if (earliest < 0) {
                break;
            }
            next[earliest] += std::chrono::milliseconds(HAL_PeriodMs[earliest]);
            // The tick routines take the application's locks: not under ours.
            lock.unlock();
            HAL_TimerCallback(static_cast<HAL_Period>(earliest));
            lock.lock();
        }
    }
}

HOST_LocalTime SIM_MachineLocalTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const bool dst = local.tm_isdst > 0;
    const long standardOffset = local.tm_gmtoff - (dst ? 3600 : 0);
    return HOST_LocalTime{static_cast<std::int64_t>(now), static_cast<std::int32_t>(-standardOffset / 60), dst};
}
