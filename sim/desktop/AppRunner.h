// The application thread: start, stop, pause and resume from the window
// thread. Linux cannot suspend or kill a single thread safely, so the
// application pauses where it yields anyway (its sleep; the tick thread is
// held through the pause hook) and a stop is a request it honours at its
// next sleep.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

class AppRunner {
  public:
    // Called on the window thread, except log(), which the application
    // thread also calls when the main task returns.
    class Ui {
      public:
        virtual void log(const std::string& entry) = 0;
        virtual void clearLog() = 0;

      protected:
        ~Ui() = default;
    };

    static constexpr int kStopPolls = 20; // of 10 ms each
    enum class Stop { NotRunning, Ended, Abandoned };

    AppRunner(std::function<void()> main, Ui& ui);
    ~AppRunner();
    AppRunner(const AppRunner&) = delete;
    AppRunner& operator=(const AppRunner&) = delete;

    // Called with true when the application pauses, false when it goes on.
    void setPauseHook(std::function<void(bool)> hook) { pauseHook_ = std::move(hook); }

    // False when an earlier thread did not end and cannot be replaced.
    bool start();
    Stop stop();
    // False (and nothing logged) when there was nothing to pause or resume.
    bool pause();
    bool resume();
    // Whether an application thread exists; reaps one whose main task returned.
    bool hasThread();
    bool paused() const;
    // Whether a thread that ignored its stop request is still running.
    bool abandonedRunning() const;

    // On the application thread: the run that thread belongs to.
    static bool StopRequested();
    // Blocks while the run is paused; returns at once when it must stop.
    // `beforePark` runs first (not under the run's lock) when it will block.
    static void PauseGate(const std::function<void()>& beforePark = {});

    // For tests: waits until the application thread sits in the pause gate.
    bool waitParked(std::chrono::milliseconds timeout);

  private:
    struct Run {
        std::mutex mutex;
        std::condition_variable changed;
        bool stop = false;
        bool paused = false;
        bool parked = false;
        bool ended = false;
    };
    static thread_local Run* current_;
    void setPaused(bool paused);

    std::function<void()> main_;
    Ui& ui_;
    std::function<void(bool)> pauseHook_;
    std::shared_ptr<Run> run_;
    std::shared_ptr<Run> abandoned_;
    std::thread thread_;
};
