#include "sim/desktop/AppRunner.h"

#include "sim/TimeSource.h"

thread_local AppRunner::Run* AppRunner::current_ = nullptr;

AppRunner::AppRunner(std::function<void()> main, Ui& ui) : main_(std::move(main)), ui_(ui) {}

AppRunner::~AppRunner()
{
    stop();
}

bool AppRunner::start()
{
    ui_.clearLog();
    ui_.log("Application started");
    if (stop() == Stop::Abandoned || abandonedRunning()) {
        return false;
    }
    auto run = std::make_shared<Run>();
    run_ = run;
    thread_ = std::thread([run, main = main_, &ui = ui_] {
        current_ = run.get();
        bool returned = false;
        try {
            main();
            returned = true;
        } catch (const AppStop&) {
        }
        if (returned) {
            ui.log("\nApplication terminated.");
        }
        std::lock_guard<std::mutex> guard(run->mutex);
        run->ended = true;
        run->changed.notify_all();
    });
    return true;
}

AppRunner::Stop AppRunner::stop()
{
    if (!thread_.joinable()) {
        return Stop::NotRunning;
    }
    bool ended = false;
    {
        std::unique_lock<std::mutex> lock(run_->mutex);
        run_->stop = true;
        run_->changed.notify_all();
        for (int i = 0; i < kStopPolls && !run_->ended; ++i) {
            run_->changed.wait_for(lock, std::chrono::milliseconds(10));
        }
        ended = run_->ended;
    }
    if (ended) {
        thread_.join();
    } else {
        // It still holds the panel's static memory: it must not get a successor.
        thread_.detach();
        abandoned_ = run_;
    }
    thread_ = std::thread();
    const bool wasPaused = run_->paused;
    run_.reset();
    if (wasPaused && pauseHook_) {
        pauseHook_(false);
    }
    return ended ? Stop::Ended : Stop::Abandoned;
}

bool AppRunner::abandonedRunning() const
{
    if (!abandoned_) {
        return false;
    }
    std::lock_guard<std::mutex> guard(abandoned_->mutex);
    return !abandoned_->ended;
}

bool AppRunner::hasThread()
{
    if (!thread_.joinable()) {
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(run_->mutex);
        if (!run_->ended) {
            return true;
        }
    }
    // The main task returned (stop() handles the other way out).
    thread_.join();
    thread_ = std::thread();
    const bool wasPaused = run_->paused;
    run_.reset();
    if (wasPaused && pauseHook_) {
        pauseHook_(false);
    }
    return false;
}

bool AppRunner::paused() const
{
    if (!run_) {
        return false;
    }
    std::lock_guard<std::mutex> guard(run_->mutex);
    return run_->paused;
}

void AppRunner::setPaused(bool paused)
{
    {
        std::lock_guard<std::mutex> guard(run_->mutex);
        run_->paused = paused;
        run_->changed.notify_all();
    }
    if (pauseHook_) {
        pauseHook_(paused);
    }
}

bool AppRunner::pause()
{
    // F4 pauses whatever state the menus were left in; a second one is no news.
    if (paused() || !hasThread()) {
        return false;
    }
    setPaused(true);
    ui_.log("Application suspended");
    return true;
}

bool AppRunner::resume()
{
    if (!paused() || !hasThread()) {
        return false;
    }
    setPaused(false);
    ui_.log("Application continued");
    return true;
}

bool AppRunner::StopRequested()
{
    Run* run = current_;
    if (run == nullptr) {
        return false;
    }
    std::lock_guard<std::mutex> guard(run->mutex);
    return run->stop;
}

void AppRunner::PauseGate(const std::function<void()>& beforePark)
{
    Run* run = current_;
    if (run == nullptr) {
        return;
    }
    std::unique_lock<std::mutex> lock(run->mutex);
    if (!run->paused || run->stop) {
        return;
    }
    if (beforePark) {
        lock.unlock();
        beforePark();
        lock.lock();
        if (!run->paused || run->stop) {
            return;
        }
    }
    run->parked = true;
    run->changed.notify_all();
    run->changed.wait(lock, [run] { return !run->paused || run->stop; });
    run->parked = false;
}

bool AppRunner::waitParked(std::chrono::milliseconds timeout)
{
    if (!run_) {
        return false;
    }
    std::unique_lock<std::mutex> lock(run_->mutex);
    return run_->changed.wait_for(lock, timeout, [this] { return run_->parked; });
}
