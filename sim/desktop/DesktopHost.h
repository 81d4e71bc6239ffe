// The panel's host on the desktop: LCD into the shared picture store, the
// key driver, the application sleep with pause and stop, errors into the
// log window, message boxes and "SimError.log".
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <mutex>
#include <string>

#include "hal/host.h"
#include "sim/KeyDriver.h"
#include "sim/SerialPort.h"
#include "sim/TimeSource.h"
#include "sim/desktop/LcdMap.h"

class DesktopHost final : public PanelHost {
  public:
    // What the windows provide. log() and messageBox() come from any thread.
    class Ui {
      public:
        virtual void logChanged() = 0;
        // Returns when the user closed the box, or when `abandon` says so
        // (the application thread must stop); warning selects the icon.
        virtual void messageBox(const std::string& text, const std::string& title, bool warning, bool (*abandon)()) = 0;
        virtual void trace(const char* text) = 0;
        virtual void beep() = 0;
        // A key or test button of the window, for the application thread;
        // `record` is its scenario line.
        virtual void input(std::function<void()> apply, std::string record) = 0;

      protected:
        ~Ui() = default;
    };

    struct Options {
        std::string lockDirectory;
        bool errorBoxes = true; // off when the host got command-line arguments
        std::string errorLogPath = "SimError.log";
        // The panel's clock at power-on: fixed, as in the headless host, so
        // that a recorded session replays alike.
        HOST_LocalTime clock{};
        // The test serial port: a device, "pty" for a new pseudo-terminal, or
        // empty for none (a normal start has no tester on it).
        std::string serial;
    };

    DesktopHost(TimeSource& time, LcdMap& lcd, class LogBuffer& log, Ui& ui, Options options);
    ~DesktopHost();

    void lcdWrite(int x, int y, int width, int height, const std::uint32_t* rgb) override;
    void keyPortInit() override;
    void keyPortSetReadEnable(std::uint8_t flags) override { keys_.setReadEnable(flags); }
    std::uint8_t keyPortRead() override { return keys_.read(); }
    void sleep(std::uint32_t ms) override;
    std::uint32_t milliseconds() override { return time_.milliseconds(); }
    bool stopRequested() override;
    bool startTimer(std::uint8_t period) override { return time_.startTimer(period); }
    HOST_LocalTime localTime() override;
    void reportError(const char* text) override;
    void messageBox(const char* text, const char* title) override;
    bool acquireSingleInstance(const char* name) override;
    void trace(const char* text) override { ui_.trace(text); }
    void beep() override { ui_.beep(); }
    const char* serialOpen(std::uint8_t port, SerialReceive receive, SerialSent sent) override;
    void serialSend(std::uint8_t port, std::uint8_t byte) override;

    KeyDriver& keys() { return keys_; }
    // Runs on the application thread before each step, with true where the
    // application pauses or halts after it (set before the start).
    void setStepObserver(std::function<void(bool settled)> observer) { stepObserver_ = std::move(observer); }
    // A key region pressed or released in the window (through Ui::input).
    void hardkey(int index, bool pressed);
    // A panel key 0..12 from the PC keyboard (through Ui::input).
    void logicalKey(std::uint8_t key, bool pressed);
    // A log entry: "\n<ms>:   " and the text.
    void log(const std::string& text);
    int errorCount() const { return errors_; }
    // Called on the application thread before each 10 ms step of a sleep,
    // when all that is drawn at that time is drawn; set before the application starts.
    void setStepHook(std::function<void()> hook) { stepHook_ = std::move(hook); }
    // Whether this process holds the single-instance lock.
    static bool OwnsInstanceLock();

  private:
    TimeSource& time_;
    LcdMap& lcd_;
    LogBuffer& log_;
    Ui& ui_;
    Options options_;
    KeyDriver keys_;
    std::function<void()> stepHook_;
    std::function<void(bool)> stepObserver_;
    std::atomic<int> errors_{0};
    std::mutex errorLogLock_;
    std::FILE* errorLog_ = nullptr;
    SerialPort serialPort_;
};
