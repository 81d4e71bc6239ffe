#include "sim/desktop/Simulator.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <unistd.h>

#include "app/MainTask.h"
#include "sim/ControlUnit.h"
#include "sim/InstanceLock.h"
#include "sim/PowerOn.h"
#include "sim/RealTime.h"
#include "sim/desktop/BuiltinPictures.h"
#include "sim/desktop/Hardkeys.h"
#include "sim/desktop/KeyWindow.h"
#include "sim/desktop/QtPicture.h"
#include "sim/headless/Words.h"

namespace {

std::mutex traceMutex;

} // namespace

Simulator::Simulator(SimOptions options, std::function<void()> application)
    : options_(std::move(options)), application_(application ? std::move(application) : std::function<void()>(MainTask))
{
    SIM_PowerOn();
    DesktopHost::Options hostOptions;
    hostOptions.lockDirectory =
        options_.lockDirectory.empty() ? InstanceLock::defaultDirectory() : options_.lockDirectory;
    hostOptions.errorBoxes = options_.errorBoxes;
    hostOptions.serial = options_.serial;
    hostOptions.clock = options_.clockGiven ? HOST_LocalTime{options_.clock, 0, false} : SIM_MachineLocalTime();
    host_ = std::make_unique<DesktopHost>(clock_, lcd_, log_, *this, hostOptions);
    runner_ = std::make_unique<AppRunner>(application_, *this);
    runner_->setPauseHook([this](bool paused) { clock_.hold(paused); });
    host_->setStepHook([this] {
        capture_.sample(clock_.now(), [this](const std::string& text, bool error) { captureReport(text, error); });
    });
    recordDevice_ = options_.recordDevice;
    watch_ = std::make_unique<StateWatch>([this] { return clock_.halted(); },
                                          [this](StateSnapshot& s) {
                                              if (unit_) {
                                                  s.plant = unit_->model();
                                              }
                                          });
    host_->setStepObserver([this](bool pausing) { watch_->onStep(clock_.milliseconds(), pausing); });
    ticker_.setInterval(20);
    QObject::connect(&ticker_, &QTimer::timeout, [this] { tick(); });
}

Simulator::~Simulator()
{
    shutDown();
    delete popup_;
    delete device_;
    delete main_;
    delete logWindow_;
    delete sysInfo_;
    delete colors_;
    delete unitWindow_;
    delete stateView_;
}

void Simulator::shutDown()
{
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    ticker_.stop();
    const bool stuck = runner_->stop() == AppRunner::Stop::Abandoned || runner_->abandonedRunning();
    // What the user saw last, and the recordings' last frames, before the windows go.
    const auto report = [this](const std::string& text, bool error) { captureReport(text, error); };
    if (captureReady_ && !options_.grab.empty() && options_.grabAt < 0) {
        const Picture shot = capture_.picture(capture_.hasDevice(), zoom_);
        std::string error;
        if (PngWrite(options_.grab, shot.rgb.data(), shot.width, shot.height,
                     capture_.hasDevice() ? FrameCapture::kBackground : -1, error)) {
            report("saved " + options_.grab + " at " + std::to_string(clock_.now()) + " ms", false);
        } else {
            report(error, true);
        }
    }
    capture_.stopAll(clock_.now(), report);
    if (stuck) {
        // A thread that ignored its stop request ends only with the process.
        std::fprintf(stderr, "panel-sim: the application did not stop within 200 ms; ending the process\n");
        std::fflush(nullptr);
        lcd_.close(true);
        ::_exit(exitCode_);
    }
    // The map is this simulator's alone (it holds its lock): it goes with it.
    lcd_.close(true);
}

void Simulator::showBox(const QString& text, const QString& title, bool warning)
{
    std::fprintf(stderr, "%s: %s\n", Printable(title.toStdString()).c_str(), Printable(text.toStdString()).c_str());
    if (boxHook) {
        boxHook(text, title, warning);
        return;
    }
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information, title, text, QMessageBox::Ok,
                    topWindow());
    // SIGTERM must end a box too, also one shown before the event loop runs.
    QTimer watch;
    watch.setInterval(20);
    QObject::connect(&watch, &QTimer::timeout, &box, [&box] {
        if (quitRequested != 0) {
            box.done(QMessageBox::Cancel);
        }
    });
    watch.start();
    box.exec();
}

void Simulator::messageBox(const std::string& text, const std::string& title, bool warning, bool (*abandon)())
{
    const QString qtext = QString::fromStdString(text);
    const QString qtitle = QString::fromStdString(title);
    if (QThread::currentThread() == qApp->thread()) {
        showBox(qtext, qtitle, warning);
        return;
    }
    // The application thread waits for the user, as on the device's host;
    // a stop request releases it and the box is not shown any more.
    struct Request {
        std::mutex mutex;
        std::condition_variable done;
        bool shown = false;
        bool cancelled = false;
    };
    auto request = std::make_shared<Request>();
    QMetaObject::invokeMethod(
        &context_,
        [this, request, qtext, qtitle, warning] {
            {
                std::lock_guard<std::mutex> guard(request->mutex);
                if (request->cancelled) {
                    return;
                }
            }
            showBox(qtext, qtitle, warning);
            std::lock_guard<std::mutex> guard(request->mutex);
            request->shown = true;
            request->done.notify_all();
        },
        Qt::QueuedConnection);
    std::unique_lock<std::mutex> lock(request->mutex);
    while (!request->shown) {
        if (abandon != nullptr && abandon()) {
            request->cancelled = true;
            return;
        }
        request->done.wait_for(lock, std::chrono::milliseconds(10));
    }
}

void Simulator::trace(const char* text)
{
    if (traceHook) {
        traceHook(text);
    }
    watch_->trace(clock_.milliseconds(), text);
    if (options_.trace) {
        // Line by line with the time each began, as the headless host prints them.
        std::lock_guard<std::mutex> guard(traceMutex);
        const std::uint32_t ms = clock_.milliseconds();
        for (const char* p = text;; ++p) {
            if (*p == '\n' || *p == '\0') {
                if (!traceLine_.empty()) {
                    std::fprintf(stderr, "%8u ms  %s\n", traceLineMs_, Printable(traceLine_).c_str());
                    traceLine_.clear();
                }
                if (*p == '\0') {
                    break;
                }
                continue;
            }
            if (traceLine_.empty()) {
                traceLineMs_ = ms;
            }
            traceLine_ += *p;
        }
    }
}

void Simulator::beep()
{
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::beep(); }, Qt::QueuedConnection);
}

void Simulator::input(std::function<void()> apply, std::string record)
{
    clock_.post(std::move(apply), std::move(record));
}

void Simulator::logChanged()
{
    if (!logDirty_.exchange(true)) {
        // Dropped with the simulator when it goes first.
        QMetaObject::invokeMethod(
            &context_,
            [this] {
                logDirty_ = false;
                if (logWindow_ != nullptr) {
                    logWindow_->update();
                }
            },
            Qt::QueuedConnection);
    }
}

void Simulator::log(const std::string& entry)
{
    host_->log(entry);
}

void Simulator::clearLog()
{
    log_.clear();
    logChanged();
}

void Simulator::loadPictures()
{
    const std::filesystem::path folder =
        options_.pictures.empty() ? std::filesystem::current_path() : std::filesystem::path(options_.pictures);
    Picture files[2];
    bool ok[2] = {false, false};
    const char* names[2] = {"Device.bmp", "Device1.bmp"};
    for (int i = 0; i < 2; ++i) {
        const std::filesystem::path path = folder / names[i];
        std::error_code ec;
        // Without a named folder a missing file is the normal case, not an error.
        if (!options_.picturesGiven && !std::filesystem::exists(path, ec)) {
            continue;
        }
        std::string error;
        ok[i] = BmpReadFile(path.string(), files[i], error);
        if (!ok[i]) {
            host_->reportError((error + "; using the built-in device picture").c_str());
        }
    }
    if (ok[0] && ok[1] && (files[0].width != files[1].width || files[0].height != files[1].height)) {
        host_->reportError("Device.bmp and Device1.bmp differ in size; using the built-in device pictures");
        ok[0] = ok[1] = false;
    }
    if (ok[0] && ok[1]) {
        rest_ = std::move(files[0]);
        pressed_ = std::move(files[1]);
        builtin_ = false;
    } else {
        // A pair must match: one built-in picture beside a file would misplace the keys.
        rest_ = Unpack(kBuiltinRest);
        pressed_ = Unpack(kBuiltinPressed);
        builtin_ = true;
    }
    restImage_ = ToImage(rest_);
    pressedImage_ = ToImage(pressed_);
    SIM_ScanHardkeys(pressed_, kTransparent, [](const char* text) { HOST().reportError(text); });
}

bool Simulator::startUp()
{
    const std::string mapName = options_.lcdMap.empty() ? lcdmap::DefaultName(0) : options_.lcdMap;
    std::string error;
    if (!options_.frame) {
        loadPictures();
    }
    bool made = lcd_.create(mapName, kLcdWidth, kLcdHeight, error);
    // Without a name of its own a second simulator takes the next free one; a
    // name given is refused, since a watcher of it would see the wrong panel.
    for (int n = 1; !made && lcd_.busy() && options_.lcdMap.empty() && n < 10; ++n) {
        made = lcd_.create(lcdmap::DefaultName(n), kLcdWidth, kLcdHeight, error);
    }
    if (made && lcd_.name() != mapName) {
        std::fprintf(stderr, "panel-sim: the LCD map '%s' is in use by another simulator; this one is '%s'\n",
                     mapName.c_str(), lcd_.name().c_str());
        host_->log("LCD map '" + lcd_.name() + "' ('" + mapName + "' is in use by another simulator)");
    }
    if (!made) {
        std::fprintf(stderr, "panel-sim: %s\n", Printable(error).c_str());
        showBox("Could not alloc Server data ...", "LumUISim", true);
        exitCode_ = 1;
        return false;
    }
    buildActions();
    const QScreen* screen = QGuiApplication::primaryScreen();
    int zoom = options_.zoom;
    if (zoom == 0 && screen != nullptr) {
        const QSize device = deviceSize();
        zoom = DefaultZoom(device.width(), device.height(), screen->availableGeometry().width(),
                           screen->availableGeometry().height(), screen->physicalDotsPerInch(),
                           screen->devicePixelRatio());
    }
    if (zoom > maxZoom()) {
        std::fprintf(stderr, "panel-sim: zoom %d does not fit the screen; %d does\n", zoom, maxZoom());
    }
    zoom = std::clamp(std::min(zoom, maxZoom()), 1, 4);
    zoom_ = zoom;
    if (options_.frame) {
        buildFrameLayout();
    } else {
        buildDeviceLayout();
    }
    bindFunctionKeys();
    if (!options_.frame) {
        capture_.setDevice(&rest_, &pressed_);
    }
    if (!startCaptures()) {
        exitCode_ = 2;
        return false;
    }
    topWindow()->show();
    return true;
}

QSize Simulator::deviceSize() const
{
    return options_.frame ? QSize(kLcdWidth + 250, kLcdHeight + 150) : QSize(rest_.width, rest_.height);
}

int Simulator::maxZoom() const
{
    const QWidget* top = topWindow();
    const QScreen* screen =
        top != nullptr && top->screen() != nullptr ? top->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return 4;
    }
    const QSize device = deviceSize();
    return FittingZoom(device.width(), device.height(), screen->availableGeometry().width(),
                       screen->availableGeometry().height());
}

void Simulator::startApplication()
{
    clock_.setLive(true);
    if (!runner_->start()) {
        // Its predecessor never reached a sleep: only a new process is clean.
        std::fprintf(stderr, "panel-sim: the application did not stop within 200 ms; starting afresh\n");
        std::fflush(nullptr);
        lcd_.close(false);
        const std::string self = "/proc/self/exe";
        QStringList args = QCoreApplication::arguments();
        std::vector<std::string> keep;
        for (const QString& a : args) {
            keep.push_back(a.toStdString());
        }
        std::vector<char*> argv;
        for (std::string& a : keep) {
            argv.push_back(a.data());
        }
        argv.push_back(nullptr);
        ::execv(self.c_str(), argv.data());
        ::_exit(1);
    }
    if (!options_.plant.empty() && !plantTaken_) {
        plantTaken_ = true;
        startPlant();
    }
    ticker_.start();
}

std::vector<std::uint32_t> Simulator::lcdPixels() const
{
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(kLcdWidth) * kLcdHeight);
    if (lcd_.isOpen()) {
        lcd_.copyPixels(rgb.data());
    }
    return rgb;
}

QString Simulator::expectedTitle() const
{
    return QString("LumUI Simulation") + (runner_->paused() ? "(Suspended)" : "(Executing)");
}

volatile std::sig_atomic_t Simulator::quitRequested = 0;

void Simulator::tick()
{
    if (quitRequested != 0) {
        ticker_.stop();
        QCoreApplication::quit();
        return;
    }
    if (!runner_->hasThread()) {
        // The main task returned: the host ends.
        ticker_.stop();
        QCoreApplication::quit();
        return;
    }
    // A step or a run until the screen changed has come to its end.
    if (clock_.halted() && !runner_->paused()) {
        runner_->pause();
    }
    const QString title = expectedTitle();
    if (title != title_ && topWindow() != nullptr) {
        title_ = title;
        topWindow()->setWindowTitle(title);
        updateMenus();
    }
    if (options_.exitAt >= 0 && clock_.now() >= static_cast<std::uint64_t>(options_.exitAt)) {
        ticker_.stop();
        QCoreApplication::quit();
    }
}

void Simulator::pcKey(int qtKey, bool pressed)
{
    const int key = options_.keyboard ? PanelKeyOfPcKey(qtKey) : -1;
    if (key >= 0) {
        host_->logicalKey(static_cast<std::uint8_t>(key), pressed);
    }
}

void Simulator::startRecording()
{
    std::lock_guard<std::mutex> guard(recordMutex_);
    recordOn_ = true;
    recordStart_ = recordLast_ = clock_.now();
    recorded_.clear();
    clock_.setRecorder([this](std::uint64_t ms, const std::string& line) {
        std::lock_guard<std::mutex> g(recordMutex_);
        if (ms > recordLast_) {
            recorded_ += "wait " + std::to_string(ms - recordLast_) + "\n";
            recordLast_ = ms;
        }
        recorded_ += line + "\n";
    });
}

std::string Simulator::recording() const
{
    std::lock_guard<std::mutex> guard(recordMutex_);
    std::string text = "# Recorded in panel-sim from " + std::to_string(recordStart_) +
                       " ms of panel time. Replay: panel-headless --clock " + clockArgument() + " FILE\n";
    if (recordStart_ > 0) {
        text += "wait " + std::to_string(recordStart_) + "\n";
    }
    text += recorded_;
    // To the end of the step the panel is in: what it drew at its start is
    // on the LCD, and a replay that ends there has drawn it too.
    const std::uint64_t end = clock_.now() + 10;
    if (end > recordLast_) {
        text += "wait " + std::to_string(end - recordLast_) + "\n";
    }
    return text;
}

void Simulator::stopRecording()
{
    clock_.setRecorder(nullptr);
    std::lock_guard<std::mutex> guard(recordMutex_);
    recordOn_ = false;
}

bool Simulator::recordingOn() const
{
    std::lock_guard<std::mutex> guard(recordMutex_);
    return recordOn_;
}

std::string Simulator::clockArgument() const
{
    const HOST_LocalTime t = host_->localTime();
    std::int64_t local = t.utcSeconds - static_cast<std::int64_t>(t.biasMinutes) * 60 + (t.daylightSaving ? 3600 : 0);
    const std::time_t seconds = static_cast<std::time_t>(local);
    std::tm tm{};
    gmtime_r(&seconds, &tm);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &tm);
    return text;
}
