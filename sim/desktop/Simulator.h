// The desktop simulator: device (or frame) window, key windows, LCD window,
// menus, log, and the application thread around the panel's MainTask.
#pragma once

#include <QDockWidget>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <atomic>
#include <csignal>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "sim/desktop/AppRunner.h"
#include "sim/desktop/DesktopHost.h"
#include "sim/desktop/FrameCapture.h"
#include "sim/desktop/LcdMap.h"
#include "sim/desktop/LogBuffer.h"
#include "sim/desktop/Options.h"
#include "sim/desktop/PacedClock.h"
#include "sim/desktop/Picture.h"
#include "sim/desktop/StateWatch.h"

class ControlUnit;
class QAction;
class QMainWindow;
class QMenu;
class QMdiArea;

// Menu and accelerator command ids.
enum SimCommand : int {
    CMD_ABOUT = 104,
    CMD_EXIT = 105,
    CMD_COPY = 500,
    CMD_LAYER0 = 510,
    CMD_COLORS0 = 520,
    CMD_RESTART = 530,
    CMD_PAUSE = 540,
    CMD_RESUME = 550,
    CMD_SYSINFO = 560,
    CMD_LOG = 570,
    CMD_SAVE_PNG = 580, // not in the original menus: "Save LCD as PNG..."
    CMD_ZOOM1 = 591,    // 591..594: zoom 1x..4x
    // The panel's time.
    CMD_STEP = 600, // 100 ms, then paused
    CMD_RUN = 601,
    CMD_FAST10 = 602,
    CMD_FAST100 = 603,
    CMD_FASTEST = 604,
    CMD_UNTIL_CHANGE = 605,
    CMD_RECORD = 610, // start or stop recording a scenario
    CMD_RECORD_GIF = 611,
    CMD_RECORD_PNG = 612,
    CMD_RECORD_DEVICE = 613, // recordings show the whole device, not only the LCD
    // The test control unit on the panel's bus.
    CMD_UNIT = 620, // connect or disconnect
    CMD_PLANT_LOAD = 621,
    CMD_PLANT_SAVE = 622,
    CMD_SET_CLOCK = 623,
    CMD_UNIT_WINDOW = 624, // the control unit's plant values
    CMD_STATE_VIEW = 625,
};

class Simulator final : public DesktopHost::Ui, public AppRunner::Ui {
  public:
    static constexpr std::uint32_t kTransparent = 0x00FF00;
    static constexpr int kLcdX = 45;
    static constexpr int kLcdY = 30;
    static constexpr int kLcdWidth = 240;
    static constexpr int kLcdHeight = 160;

    explicit Simulator(SimOptions options, std::function<void()> application = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Pictures, picture store, windows; false when the host cannot run
    // (the picture store is not available).
    bool startUp();
    // Starts the application thread (as at host start and on F3).
    void startApplication();
    void command(int id);
    // Stops the application and closes the windows; idempotent.
    void shutDown();
    // The process exit code once the event loop ended.
    int exitCode() const { return exitCode_; }

    // Loads Device.bmp / Device1.bmp, else the built-in pair.
    void loadPictures();
    const Picture& restPicture() const { return rest_; }
    const Picture& pressedPicture() const { return pressed_; }
    bool builtinPictures() const { return builtin_; }

    // Never larger than fits the screen the window is on.
    void setZoom(int zoom);
    int maxZoom() const;
    int zoom() const { return zoom_; }
    QWidget* topWindow() const;
    QWidget* deviceWindow() const { return device_; }
    QWidget* keyWindow(int index) const;
    QWidget* lcdWindow() const { return lcdWindow_; }
    QWidget* logWindow() const { return logWindow_; }
    QAction* action(int id) const;
    // Menu enabling as the menus show it.
    void updateMenus();
    QString expectedTitle() const;

    DesktopHost& host() { return *host_; }
    AppRunner& runner() { return *runner_; }
    LcdMap& lcd() { return lcd_; }
    LogBuffer& log() { return log_; }
    PacedClock& clock() { return clock_; }
    const SimOptions& options() const { return options_; }
    // The LCD as shown (0xRRGGBB, rows top-down).
    std::vector<std::uint32_t> lcdPixels() const;

    // Message boxes go here instead of on screen when set (tests).
    std::function<void(const QString& text, const QString& title, bool warning)> boxHook;
    std::function<void(const char* text)> traceHook;

    // DesktopHost::Ui
    void logChanged() override;
    void messageBox(const std::string& text, const std::string& title, bool warning, bool (*abandon)()) override;
    void trace(const char* text) override;
    void beep() override;
    void input(std::function<void()> apply, std::string record) override;
    // AppRunner::Ui
    void log(const std::string& entry) override;
    void clearLog() override;

    // Set from a signal handler (SIGTERM, SIGINT): the host ends at its next tick.
    static volatile std::sig_atomic_t quitRequested;

    // A PC key (Qt::Key) pressed or released: a panel key with --keyboard.
    void pcKey(int qtKey, bool pressed);
    void popupMenu(const QPoint& globalPos);

    // Session recording: a scenario of what the user did, with panel times.
    void startRecording();
    // The scenario recorded so far, ending at the panel time now.
    std::string recording() const;
    void stopRecording();
    bool recordingOn() const;
    // Pictures of the LCD (or the device) as a GIF or PNG frames, in panel time.
    FrameCapture& capture() { return capture_; }
    bool startFrames(FrameRecorder::Kind kind, const std::string& path, std::string& error);
    void stopFrames(FrameRecorder::Kind kind);
    // The test control unit (on the application thread, through inputs).
    void connectUnit(bool on);
    bool unitConnected() const { return unitOn_; }
    // Gives the control unit a plant file's text; false with the error.
    bool takePlant(const std::string& path, std::string& error);
    // Runs `apply` on the control unit (connected first) on the application
    // thread; `record` is its scenario line.
    void unitInput(std::function<void(ControlUnit&)> apply, std::string record);
    StateWatch& watch() { return *watch_; }
    void openUnitWindow();
    void openStateView();
    QDockWidget* unitWindow() const { return unitWindow_; }
    QDockWidget* stateView() const { return stateView_; }
    // The panel's clock at power-on as panel-headless --clock takes it.
    std::string clockArgument() const;

  private:
    void showBox(const QString& text, const QString& title, bool warning);
    void buildActions();
    void bindFunctionKeys();
    void buildDeviceLayout();
    void buildFrameLayout();
    void layoutDevice();
    QSize deviceSize() const;
    void tick();
    void openLog();
    void openSysInfo();
    void openColors();
    void openLayer();
    void copyToClipboard();
    void saveLcdPng();
    void about();
    void toggleRecording();
    void loadPlant();
    void savePlant();
    void setPanelClock();
    void toggleFrames(FrameRecorder::Kind kind);
    void captureReport(const std::string& text, bool error);
    bool startCaptures(); // the command line's
    // --plant: the control unit connects with it at kPlantStartMs of panel time.
    void startPlant();
    void takeStartPlant(const std::string& text); // application thread

    QObject context_; // queued calls into the window thread die with the simulator
    SimOptions options_;
    std::function<void()> application_;
    PacedClock clock_{&AppRunner::StopRequested};
    LcdMap lcd_;
    FrameCapture capture_{lcd_};
    bool recordDevice_ = false;
    bool captureReady_ = false; // the command line's captures began
    LogBuffer log_;
    std::unique_ptr<DesktopHost> host_;
    std::unique_ptr<AppRunner> runner_;
    Picture rest_;
    Picture pressed_;
    bool builtin_ = true;
    QImage restImage_;
    QImage pressedImage_;
    int zoom_ = 1;

    QPointer<QWidget> device_;
    QPointer<QMainWindow> main_;
    QPointer<QMdiArea> mdi_;
    QPointer<QWidget> lcdWindow_;
    QPointer<QWidget> logWindow_;
    QPointer<QWidget> sysInfo_;
    QPointer<QWidget> colors_;
    std::vector<QPointer<QWidget>> keyWindows_;
    std::unique_ptr<QObject> actionOwner_;
    std::map<int, QAction*> actions_;
    QMenu* popup_ = nullptr;
    QTimer ticker_;
    QString title_;
    std::atomic<bool> logDirty_{false};
    std::string traceLine_; // under the trace lock
    std::uint32_t traceLineMs_ = 0;
    std::shared_ptr<class ControlUnit> unit_; // used on the application thread only
    bool unitOn_ = false;
    mutable std::mutex recordMutex_;
    bool recordOn_ = false;
    std::uint64_t recordStart_ = 0;
    std::uint64_t recordLast_ = 0;
    std::string recorded_;
    bool plantTaken_ = false; // --plant
    std::unique_ptr<StateWatch> watch_;
    QPointer<QDockWidget> unitWindow_;
    QPointer<QDockWidget> stateView_;
    bool shutDown_ = false;
    int exitCode_ = 0;
};
