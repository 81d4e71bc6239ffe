#include "sim/desktop/PacedClock.h"

#include <algorithm>

#include "sim/AmbientLight.h"

namespace {
// Behind by more than this (a debugger, a loaded machine), the pace starts
// afresh instead of catching up in a burst.
constexpr std::chrono::milliseconds kMaxLag{500};
// How often a waiting application thread looks for a stop request.
constexpr std::chrono::milliseconds kPoll{10};
} // namespace

PacedClock::PacedClock(std::function<bool()> stopRequested) : stopRequested_(std::move(stopRequested))
{
    anchor();
    virtual_.setHook([this] { wake(); });
    virtual_.setConversions(SIM_AmbientLightStep);
}

bool PacedClock::startTimer(std::uint8_t period)
{
    return virtual_.startTimer(period);
}

void PacedClock::anchor()
{
    anchorWall_ = Wall::now();
    anchorMs_ = virtual_.now();
}

void PacedClock::sleepStep()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (stopRequested_ && stopRequested_()) {
            throw AppStop{};
        }
        if (halted_) {
            changed_.wait_for(lock, kPoll);
            continue;
        }
        if (speed_ == kFastest || limit_ != VirtualTime::kNever || until_) {
            break;
        }
        const std::uint64_t ahead = virtual_.now() + 10 - anchorMs_;
        const Wall::time_point due =
            anchorWall_ + std::chrono::microseconds(ahead * 1000 / static_cast<std::uint64_t>(speed_));
        const Wall::time_point wall = Wall::now();
        if (wall >= due) {
            if (wall - due > kMaxLag) {
                anchor();
            }
            break;
        }
        changed_.wait_until(lock, std::min(due, wall + kPoll));
    }
    const std::uint64_t target = virtual_.now() + 10;
    virtual_.setWake(inputs_.empty() ? nextRound_ : std::min(nextRound_, target));
    lock.unlock();
    virtual_.advance(10);
    lock.lock();
    const std::uint64_t now = virtual_.now();
    if (now >= limit_ || now >= haltAt_) {
        limit_ = VirtualTime::kNever;
        haltAt_ = VirtualTime::kNever;
        halted_ = true;
    }
    if (until_) {
        lock.unlock();
        const bool changed = until_();
        lock.lock();
        if (changed) {
            until_ = nullptr;
            halted_ = true;
        }
    }
}

void PacedClock::wake()
{
    const std::uint64_t now = virtual_.now();
    std::vector<Input> inputs;
    std::function<void()> round;
    {
        std::lock_guard<std::mutex> guard(mutex_);
        inputs.swap(inputs_);
        round = period_ != 0 ? round_ : nullptr;
    }
    // As a scenario's run: the bus round first, then what the user did.
    if (round) {
        round();
    }
    for (Input& input : inputs) {
        input.apply();
        std::function<void(std::uint64_t, const std::string&)> recorder;
        {
            std::lock_guard<std::mutex> guard(mutex_);
            recorder = recorder_;
        }
        if (recorder && !input.record.empty()) {
            recorder(now, input.record);
        }
    }
    std::lock_guard<std::mutex> guard(mutex_);
    nextRound_ = period_ != 0 ? now + period_ : VirtualTime::kNever;
    virtual_.setWake(nextRound_);
}

void PacedClock::run(int speed)
{
    std::lock_guard<std::mutex> guard(mutex_);
    speed_ = std::max(speed, 0);
    limit_ = VirtualTime::kNever;
    until_ = nullptr;
    halted_ = false;
    anchor();
    changed_.notify_all();
}

int PacedClock::speed() const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return speed_;
}

void PacedClock::step(std::uint64_t ms)
{
    std::lock_guard<std::mutex> guard(mutex_);
    limit_ = virtual_.now() + ms;
    until_ = nullptr;
    halted_ = false;
    changed_.notify_all();
}

void PacedClock::runUntil(std::function<bool()> changed)
{
    std::lock_guard<std::mutex> guard(mutex_);
    until_ = std::move(changed);
    limit_ = VirtualTime::kNever;
    halted_ = false;
    changed_.notify_all();
}

void PacedClock::haltAt(std::uint64_t ms)
{
    std::lock_guard<std::mutex> guard(mutex_);
    haltAt_ = ms;
}

bool PacedClock::halted() const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return halted_;
}

void PacedClock::hold(bool held)
{
    std::lock_guard<std::mutex> guard(mutex_);
    if (!held) {
        anchor();
    }
    changed_.notify_all();
}

void PacedClock::post(std::function<void()> input, std::string record)
{
    {
        std::lock_guard<std::mutex> guard(mutex_);
        if (live_) {
            inputs_.push_back(Input{std::move(input), std::move(record)});
            changed_.notify_all();
            return;
        }
    }
    input();
}

void PacedClock::setLive(bool live)
{
    std::lock_guard<std::mutex> guard(mutex_);
    live_ = live;
}

void PacedClock::setRound(std::function<void()> round, std::uint64_t period)
{
    std::lock_guard<std::mutex> guard(mutex_);
    round_ = std::move(round);
    period_ = period;
}

void PacedClock::setRecorder(std::function<void(std::uint64_t ms, const std::string& line)> recorder)
{
    std::lock_guard<std::mutex> guard(mutex_);
    recorder_ = std::move(recorder);
}
