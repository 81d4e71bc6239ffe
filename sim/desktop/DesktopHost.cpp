#include "sim/desktop/DesktopHost.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "core/KEY.h"
#include "sim/InstanceLock.h"
#include "sim/RealTime.h"
#include "sim/desktop/AppRunner.h"
#include "sim/desktop/Hardkeys.h"
#include "sim/desktop/LogBuffer.h"

namespace {

// The lock belongs to the process: a restarted application thread (F3) must
// find it held by itself, not by a second object of the same process.
InstanceLock* processLock = nullptr;
bool processLockHeld = false;
std::mutex processLockMutex;

// Hardkey callbacks are plain functions: they reach the installed host here.
std::atomic<DesktopHost*> keyHost{nullptr};

void OnHardkey(int index, int pressed)
{
    if (DesktopHost* host = keyHost.load()) {
        host->hardkey(index, pressed != 0);
    }
}

} // namespace

DesktopHost::DesktopHost(TimeSource& time, LcdMap& lcd, LogBuffer& log, Ui& ui, Options options)
    : time_(time), lcd_(lcd), log_(log), ui_(ui), options_(std::move(options))
{
    keyHost = this;
    keys_.setLatch(true);
    HOST_Install(this);
}

DesktopHost::~DesktopHost()
{
    serialPort_.close(); // its threads enter the panel through the host
    HOST_Install(nullptr);
    keyHost = nullptr;
    if (errorLog_ != nullptr) {
        std::fclose(errorLog_);
    }
}

void DesktopHost::lcdWrite(int x, int y, int width, int height, const std::uint32_t* rgb)
{
    lcd_.writeBlock(x, y, width, height, rgb);
}

void DesktopHost::keyPortInit()
{
    keys_.init();
    for (int i = 0; i < SIM_HardkeyCount(); ++i) {
        SIM_SetHardkeyCallback(i, OnHardkey);
    }
}

void DesktopHost::sleep(std::uint32_t ms)
{
    for (std::uint32_t step = 0; step < (ms + 9) / 10; ++step) {
        if (AppRunner::StopRequested()) {
            throw AppStop{};
        }
        if (stepObserver_) {
            stepObserver_(false);
            AppRunner::PauseGate([this] { stepObserver_(true); });
        } else {
            AppRunner::PauseGate();
        }
        if (AppRunner::StopRequested()) {
            throw AppStop{};
        }
        if (stepHook_) {
            stepHook_();
        }
        time_.sleepStep();
    }
}

bool DesktopHost::stopRequested()
{
    return AppRunner::StopRequested();
}

HOST_LocalTime DesktopHost::localTime()
{
    return options_.clock;
}

void DesktopHost::hardkey(int index, bool pressed)
{
    const std::uint8_t key = KeyDriver::logicalKeyOfRegion(index);
    std::string record;
    if (key < KEY_COUNT) {
        record = pressed ? "press " + KeyNames(KEY_RawBits(key)) : "release";
    } else if (pressed && index >= KeyDriver::kTestButtonFirst && index < KeyDriver::kRegionLimit) {
        record = "button " + std::to_string(index);
    }
    ui_.input([this, index, pressed] { keys_.onHardkey(index, pressed); }, record);
}

void DesktopHost::logicalKey(std::uint8_t key, bool pressed)
{
    if (key >= KEY_COUNT) {
        return;
    }
    ui_.input([this, key, pressed] { keys_.setLogicalKey(key, pressed); },
              pressed ? "press " + KeyNames(KEY_RawBits(key)) : "release");
}

void DesktopHost::log(const std::string& text)
{
    // The time and its message on one line, however the message begins.
    const std::size_t start = std::min(text.find_first_not_of("\r\n"), text.size());
    log_.append("\n" + std::to_string(time_.milliseconds()) + ":   " + text.substr(start));
    ui_.logChanged();
}

void DesktopHost::reportError(const char* text)
{
    log(std::string(1, LogBuffer::kRed) + text);
    if (options_.errorBoxes) {
        ++errors_;
        ui_.messageBox(text, "LumUISim", true, &AppRunner::StopRequested);
    }
    std::lock_guard<std::mutex> guard(errorLogLock_);
    if (errorLog_ == nullptr) {
        errorLog_ = std::fopen(options_.errorLogPath.c_str(), "w");
    }
    if (errorLog_ != nullptr) {
        std::fprintf(errorLog_, "\r\n%s", text);
        std::fflush(errorLog_);
    }
}

void DesktopHost::messageBox(const char* text, const char* title)
{
    ui_.messageBox(text, title, false, &AppRunner::StopRequested);
}

bool DesktopHost::acquireSingleInstance(const char* name)
{
    std::lock_guard<std::mutex> guard(processLockMutex);
    if (processLock == nullptr) {
        processLock = new InstanceLock(options_.lockDirectory); // kept for the life of the process
    }
    switch (processLock->acquire(name)) {
    case InstanceLock::Result::Acquired:
        processLockHeld = true;
        return true;
    case InstanceLock::Result::Busy:
        return false;
    case InstanceLock::Result::Error:
        break;
    }
    // Better a second simulation than none at all.
    log(std::string(1, LogBuffer::kRed) + "cannot open " + processLock->path(name) + " (" + std::strerror(errno) +
        "); running without the single-instance check");
    return true;
}

bool DesktopHost::OwnsInstanceLock()
{
    std::lock_guard<std::mutex> guard(processLockMutex);
    return processLockHeld;
}

const char* DesktopHost::serialOpen(std::uint8_t port, SerialReceive receive, SerialSent sent)
{
    if (options_.serial.empty() || serialPort_.isOpen()) {
        return nullptr; // none, or kept across a restart so that the tester keeps its line
    }
    const char* failed = serialPort_.open(port, options_.serial, receive, sent);
    if (failed == nullptr) {
        const std::string line = "test serial port " + std::to_string(port) + ": " + serialPort_.peerPath();
        std::fprintf(stderr, "%s\n", line.c_str());
        log(line);
    }
    return failed;
}

void DesktopHost::serialSend(std::uint8_t, std::uint8_t byte)
{
    if (serialPort_.isOpen()) {
        serialPort_.send(byte);
    }
}
