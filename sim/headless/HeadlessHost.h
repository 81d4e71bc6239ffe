// A host without a display: the LCD goes into memory, trace lines into a
// log that scenarios read, keys come from the scenario.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "hal/host.h"
#include "sim/InstanceLock.h"
#include "sim/KeyDriver.h"
#include "sim/LcdPng.h"
#include "sim/SerialPort.h"
#include "sim/TimeSource.h"

struct TraceLine {
    std::uint32_t ms;
    std::string text;
};

class HeadlessHost final : public PanelHost {
  public:
    struct Options {
        std::string lockDirectory = InstanceLock::defaultDirectory();
        HOST_LocalTime clock{};  // used when fixedClock is set
        bool fixedClock = false; // else the machine's local time
        bool echoTrace = false;  // print trace lines as they come
        std::FILE* out = stdout;
        std::FILE* err = stderr;
        std::string errorLogPath = "SimError.log"; // the drawing layer's errors; "" none
        // The data-flash image (--flash); none: the panel's delivered image.
        std::optional<std::vector<std::uint8_t>> flash;
        // The test serial port: "" inert (bytes come from the scenario), "pty", or a device.
        std::string serial;
        // Bytes of trace text kept for the scenario; older lines go first.
        std::size_t traceLimit = std::size_t{16} << 20;
    };

    // A trace line longer than this is cut.
    static constexpr std::size_t kLongestTraceLine = 1024;

    // Reads a data-flash image: a regular file of at most `capacity` bytes;
    // false with a message naming the file and the reason otherwise.
    static bool readFlashFile(const std::string& path, std::size_t capacity, std::vector<std::uint8_t>& image,
                              std::string& error);

    HeadlessHost(TimeSource& time, Options options);
    ~HeadlessHost();

    void lcdWrite(int x, int y, int width, int height, const std::uint32_t* rgb) override;
    void keyPortInit() override { keys_.init(); }
    void keyPortSetReadEnable(std::uint8_t flags) override { keys_.setReadEnable(flags); }
    std::uint8_t keyPortRead() override { return keys_.read(); }
    void sleep(std::uint32_t ms) override;
    std::uint32_t milliseconds() override { return time_.milliseconds(); }
    bool stopRequested() override { return stop_; }
    bool startTimer(std::uint8_t period) override { return time_.startTimer(period); }
    HOST_LocalTime localTime() override;
    void reportError(const char* text) override;
    void messageBox(const char* text, const char* title) override;
    bool acquireSingleInstance(const char* name) override;
    void trace(const char* text) override;
    void beep() override { ++beeps_; }
    bool loadDataFlash(std::uint8_t* buffer, std::size_t capacity, std::size_t& size) override;
    const char* serialOpen(std::uint8_t port, SerialReceive receive, SerialSent sent) override;
    void serialSend(std::uint8_t port, std::uint8_t byte) override;

    // The test port as a tester sees it: bytes to the panel, bytes it sent.
    void serialInject(const std::vector<std::uint8_t>& bytes);
    std::vector<std::uint8_t> serialSent();

    KeyDriver& keys() { return keys_; }
    void requestStop() { stop_ = true; }
    // For a host that starts the application again after it stopped it.
    void clearStopRequest() { stop_ = false; }

    // Trace lines kept (a copy: the application may be writing).
    std::vector<TraceLine> traceLines();
    // Lines are numbered from 0 at the start. Copies the kept lines from
    // number `from` on into `lines`; returns the number of the first one
    // (larger than `from` when older lines were no longer kept).
    std::uint64_t traceSince(std::uint64_t from, std::vector<TraceLine>& lines);
    // Prints the lines not printed yet.
    void printTrace();
    int beeps() const { return beeps_; }
    int errors() const { return errors_; }
    std::uint32_t lcdPixel(int x, int y) const { return lcd_[y * kWidth + x]; }
    std::uint32_t lcdModifications() const { return lcdModifications_; }
    // The LCD as the panel shows it (on and off colours).
    LcdPicture lcdPicture() const;

  private:
    static constexpr int kWidth = 240;
    static constexpr int kHeight = 160;
    void printLine(const TraceLine& line);
    void printPending(); // with traceLock_ held

    TimeSource& time_;
    Options options_;
    KeyDriver keys_;
    InstanceLock instanceLock_;
    std::atomic<bool> stop_{false};
    std::atomic<int> beeps_{0};
    std::atomic<int> errors_{0};
    std::mutex traceLock_;
    std::deque<TraceLine> trace_;
    std::uint64_t firstLine_ = 0; // number of trace_.front()
    std::uint64_t printed_ = 0;   // number of the next line to print
    std::size_t traceBytes_ = 0;
    std::uint32_t lcd_[kWidth * kHeight] = {};
    std::atomic<std::uint32_t> lcdModifications_{0};
    std::FILE* errorLog_ = nullptr;
    SerialPort serialPort_;
    SerialReceive serialReceive_ = nullptr;
    SerialSent serialSent_ = nullptr;
    std::mutex serialLock_;
    std::vector<std::uint8_t> serialOut_;
};
