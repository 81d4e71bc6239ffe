// The desktop host on Qt's offscreen platform: pictures and key regions,
// key windows and test buttons, pause and restart, log, errors, LCD memory.
#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTest>
#include <condition_variable>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <mutex>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "core/KEY.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "gui/GUI.h"
#include "hal/HAL.h"
#include "sim/LcdPng.h"
#include "sim/PlantFile.h"
#include "sim/desktop/Hardkeys.h"
#include "sim/desktop/LcdExport.h"
#include "sim/desktop/LcdMap.h"
#include "sim/desktop/LogBuffer.h"
#include "sim/desktop/Options.h"
#include "sim/desktop/Picture.h"
#include "sim/desktop/Simulator.h"
#include "sim/headless/Options.h"
#include "sim/headless/Runner.h"
#include "support/GifRead.h"

namespace {

using Clock = std::chrono::steady_clock;

// A scratch working directory, so that Device.bmp and SimError.log are ours.
class ScratchDir {
  public:
    ScratchDir() : old_(std::filesystem::current_path())
    {
        char pattern[] = "/tmp/panel-desktop-XXXXXX";
        path_ = mkdtemp(pattern);
        std::filesystem::current_path(path_);
    }
    ~ScratchDir()
    {
        std::filesystem::current_path(old_);
        std::filesystem::remove_all(path_);
    }
    const std::string& path() const { return path_; }
    std::string read(const std::string& name) const
    {
        std::ifstream in(path_ + "/" + name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

  private:
    std::filesystem::path old_;
    std::string path_;
};

SimOptions Quiet(const std::string& lockDir)
{
    SimOptions o;
    o.errorBoxes = true;
    o.zoom = 1;
    o.lockDirectory = lockDir;
    o.lcdMap = "PanelDesktopTest" + std::to_string(::getpid());
    return o;
}

// Runs `f`; false when it did not return within 5 s, blocked by the FIFO
// `fifo` (which is then opened for writing to let it go).
template <typename F> bool ReturnsPromptly(const std::string& fifo, F f)
{
    auto result = std::async(std::launch::async, f);
    if (result.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));
        result.wait();
        return false;
    }
    return result.get();
}

// An application that only sleeps, as the panel's main loop does.
void Idle()
{
    for (;;) {
        HOST().sleep(10);
    }
}

std::vector<std::uint16_t> posted;
SM_State Recorder(SM_Hsm*, const SM_Event* e)
{
    if (e->sig > SIG_EXIT) {
        posted.push_back(e->sig);
    }
    return SM_Top;
}

// The screen task as a recorder, so that test buttons can post to it.
void RecordScreenTask()
{
    posted.clear();
    HAL_InitInterrupts();
    SM_TaskCtor(BED_Task);
    SM_TaskStart(BED_Task, Recorder, 1);
    SM_RunQueued();
    posted.clear();
}

} // namespace

class DesktopTest : public QObject {
    Q_OBJECT

  private slots:
    void builtinPicturesGiveTheEightKeyRegions()
    {
        ScratchDir dir;
        Simulator sim(Quiet(dir.path()), Idle);
        sim.loadPictures();
        QVERIFY(sim.builtinPictures());
        QCOMPARE(sim.restPicture().width, 450);
        QCOMPARE(sim.restPicture().height, 311);
        const int expected[8][4] = {{335, 32, 71, 28}, {347, 65, 42, 19},  {319, 90, 25, 45},  {346, 90, 47, 45},
                                    {395, 90, 27, 45}, {346, 138, 47, 23}, {332, 164, 74, 32}, {332, 202, 74, 28}};
        QCOMPARE(SIM_HardkeyCount(), 8);
        for (int i = 0; i < 8; ++i) {
            const SIM_HARDKEY k = SIM_GetHardkey(i);
            QCOMPARE(k.x0, expected[i][0]);
            QCOMPARE(k.y0, expected[i][1]);
            QCOMPARE(k.x1 - k.x0 + 1, expected[i][2]);
            QCOMPARE(k.y1 - k.y0 + 1, expected[i][3]);
        }
        // The LCD opening is device, and outside the device is transparent.
        QVERIFY(sim.restPicture().at(45, 30) != Simulator::kTransparent);
        QCOMPARE(sim.restPicture().at(0, 0), Simulator::kTransparent);
        QCOMPARE(sim.pressedPicture().at(100, 100), Simulator::kTransparent);
    }

    void shippedPicturesGiveCombinationKeysAndTestButtons()
    {
        ScratchDir dir;
        SimOptions o = Quiet(dir.path());
        o.pictures = PANEL_ASSETS_DIR;
        o.picturesGiven = true;
        Simulator sim(o, Idle);
        sim.loadPictures();
        QVERIFY(!sim.builtinPictures());
        QCOMPARE(sim.restPicture().width, 549);
        QCOMPARE(SIM_HardkeyCount(), 34);
        QCOMPARE(SIM_GetHardkey(3).x0, 346); // the eight keys keep their places
        // Combination keys in one row, then the test buttons row by row.
        for (int i = 9; i <= 12; ++i) {
            QCOMPARE(SIM_GetHardkey(i).y0, SIM_GetHardkey(8).y0);
            QVERIFY(SIM_GetHardkey(i).x0 > SIM_GetHardkey(i - 1).x0);
        }
        QVERIFY(SIM_GetHardkey(13).y0 > SIM_GetHardkey(12).y0);
        QVERIFY(SIM_GetHardkey(20).y0 > SIM_GetHardkey(19).y0);
        QCOMPARE(sim.host().errorCount(), 0);
    }

    void damagedDevicePicturesFallBackToTheBuiltInPair()
    {
        ScratchDir dir;
        Picture small(8, 8, 0x123456);
        std::vector<std::uint8_t> good = BmpEncode(small);
        Picture back;
        std::string why;
        QVERIFY(BmpDecode(good.data(), good.size(), back, why));
        QVERIFY(back.rgb == small.rgb);
        // Truncated, oversized, malformed: refused with a reason, never read past the end.
        QVERIFY(!BmpDecode(good.data(), good.size() - 3, back, why));
        QVERIFY(why.find("truncated") != std::string::npos);
        std::vector<std::uint8_t> huge = good;
        huge[18] = 0x00;
        huge[19] = 0x40; // 16384 pixels wide
        QVERIFY(!BmpDecode(huge.data(), huge.size(), back, why));
        QVERIFY(why.find("oversized") != std::string::npos);
        std::vector<std::uint8_t> badIndex = good;
        badIndex.back() = 0xFF; // beyond a one-colour palette (row padding is not checked, so use a pixel)
        badIndex[badIndex.size() - 8] = 0x07;
        QVERIFY(!BmpDecode(badIndex.data(), badIndex.size(), back, why));

        std::ofstream(dir.path() + "/Device.bmp") << "BM this is no picture";
        QVERIFY(BmpWriteFile(dir.path() + "/Device1.bmp", Picture(450, 311, Simulator::kTransparent)));
        SimOptions o = Quiet(dir.path());
        o.errorBoxes = false;
        Simulator sim(o, Idle);
        sim.loadPictures();
        QVERIFY(sim.builtinPictures());
        QCOMPARE(SIM_HardkeyCount(), 8);
        QVERIFY(sim.log().text().find("\x01" + dir.path() + "/Device.bmp") != std::string::npos);
        QVERIFY(dir.read("SimError.log").find("Device.bmp") != std::string::npos);
    }

    void namesTakenByFifosAndOversizedPicturesAreRefusedAtOnce()
    {
        ScratchDir dir;
        std::string error;
        const std::string fifo = dir.path() + "/Device.bmp";
        QCOMPARE(::mkfifo(fifo.c_str(), 0600), 0);
        Picture picture;
        QVERIFY(ReturnsPromptly(fifo, [&] { return !BmpReadFile(fifo, picture, error); }));
        QCOMPARE(error, fifo + ": not a regular file");
        // The shared LCD memory's name taken by a FIFO or a directory.
        const std::string shm = "PanelDesktopTaken" + std::to_string(::getpid());
        QCOMPARE(::mkfifo(("/dev/shm/" + shm).c_str(), 0600), 0);
        LcdMap map;
        QVERIFY(ReturnsPromptly("/dev/shm/" + shm, [&] { return !map.attach(shm, error); }));
        QVERIFY2(error.find("is taken by something that is no shared memory (a FIFO)") != std::string::npos,
                 error.c_str());
        QVERIFY(!map.create(shm, 240, 160, error));
        QVERIFY2(error.find("(a FIFO)") != std::string::npos, error.c_str());
        ::unlink(("/dev/shm/" + shm).c_str());
        QCOMPARE(::mkdir(("/dev/shm/" + shm).c_str(), 0700), 0);
        QVERIFY(!map.create(shm, 240, 160, error));
        QVERIFY2(error.find("(a directory)") != std::string::npos, error.c_str());
        QVERIFY(!map.attach(shm, error));
        ::rmdir(("/dev/shm/" + shm).c_str());

        // A picture whose window at zoom 4 would take gigabytes: the built-in pair instead.
        std::vector<std::uint8_t> wide = BmpEncode(Picture(kPictureMaxSide + 1, 2, Simulator::kTransparent));
        QVERIFY(!BmpDecode(wide.data(), wide.size(), picture, error));
        QVERIFY(error.find("oversized") != std::string::npos);
        ::unlink(fifo.c_str());
        QVERIFY(BmpWriteFile(dir.path() + "/Device.bmp", Picture(kPictureMaxSide + 1, 311, 0)));
        QVERIFY(BmpWriteFile(dir.path() + "/Device1.bmp", Picture(kPictureMaxSide + 1, 311, 0)));
        SimOptions o = Quiet(dir.path());
        o.errorBoxes = false;
        Simulator sim(o, Idle);
        sim.loadPictures();
        QVERIFY(sim.builtinPictures());
        QVERIFY(dir.read("SimError.log").find("oversized") != std::string::npos);
        QVERIFY(BmpWriteFile(dir.path() + "/Device.bmp", Picture(kPictureMaxSide, 2, 0)));
        QVERIFY(BmpReadFile(dir.path() + "/Device.bmp", picture, error));
    }

    void keyWindowsHoldTheKeyWhilePressed()
    {
        ScratchDir dir;
        Simulator sim(Quiet(dir.path()), Idle);
        QVERIFY(sim.startUp());
        sim.host().keyPortInit();
        sim.host().keyPortSetReadEnable(1);
        QWidget* back = sim.keyWindow(0);
        QVERIFY(back != nullptr);
        QCOMPARE(back->geometry(), QRect(335, 32, 71, 28));
        const QPoint inside(35, 14);
        // A click shorter than the scan's debounce is held for two scans.
        QTest::mousePress(back, Qt::LeftButton, {}, inside);
        QCOMPARE(SIM_GetHardkeyState(0), 1);
        QTest::mouseRelease(back, Qt::LeftButton, {}, inside);
        QCOMPARE(SIM_GetHardkeyState(0), 0);
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0x01});
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0x01});
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0});
        // A longer one ends with its release.
        QTest::mousePress(back, Qt::LeftButton, {}, inside);
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0x01});
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0x01});
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0x01});
        QTest::mouseRelease(back, Qt::LeftButton, {}, inside);
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0});
        // A release clears the byte even when another key came in between.
        SIM_HardkeyMouse(0, true);
        SIM_HardkeyMouse(3, true);
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0x01});
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0x01});
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0x20});
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0x20});
        SIM_HardkeyMouse(0, false);
        QCOMPARE(sim.host().keyPortRead(), std::uint8_t{0});
        // Toggle mode: a click latches the state, the next one frees it.
        QCOMPARE(SIM_SetHardkeyMode(1, 1), 0U);
        SIM_HardkeyMouse(1, true);
        SIM_HardkeyMouse(1, false);
        QCOMPARE(SIM_GetHardkeyState(1), 1);
        SIM_HardkeyMouse(1, true);
        QCOMPARE(SIM_GetHardkeyState(1), 0);
        // The whole device zooms, key regions with it, as far as the screen allows.
        const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
        const int z = std::min(2, sim.maxZoom());
        sim.setZoom(z);
        QCOMPARE(back->geometry(), QRect(335 * z, 32 * z, 71 * z, 28 * z));
        QCOMPARE(sim.lcdWindow()->geometry(), QRect(45 * z, 30 * z, 240 * z, 160 * z));
        QCOMPARE(sim.deviceWindow()->size(), QSize(450 * z, 311 * z));
        sim.setZoom(4);
        QCOMPARE(sim.zoom(), sim.maxZoom());
        QVERIFY(sim.deviceWindow()->width() <= screen.width() && sim.deviceWindow()->height() <= screen.height());
        sim.updateMenus();
        QVERIFY(!sim.action(CMD_ZOOM1 + 3)->isEnabled());
        QVERIFY(sim.action(CMD_ZOOM1)->isEnabled());
        QCOMPARE(FittingZoom(450, 311, 1000, 700), 2);
        QCOMPARE(FittingZoom(549, 348, 1920, 1080), 2);
        QCOMPARE(FittingZoom(549, 348, 2560, 1440), 3);
        QCOMPARE(FittingZoom(549, 348, 400, 300), 1);
    }

    void hardkeyIndexesOutsideTheTableChangeNothing()
    {
        SIM_ScanHardkeys(Picture(4, 4, Simulator::kTransparent), Simulator::kTransparent, nullptr);
        auto callback = [](int, int) {};
        QVERIFY(SIM_SetHardkeyCallback(128, callback) == nullptr);
        QVERIFY(SIM_SetHardkeyCallback(-1, callback) == nullptr);
        QCOMPARE(SIM_SetHardkeyMode(128, 1), 0U);
        QCOMPARE(SIM_SetHardkeyState(200, 1), 0);
        QCOMPARE(SIM_GetHardkeyState(128), 0);
        QVERIFY(SIM_SetHardkeyCallback(127, callback) == nullptr);
        QVERIFY(SIM_SetHardkeyCallback(127, nullptr) == callback);
        // More runs than entries: reported once, the rest dropped.
        Picture dots(300, 1, Simulator::kTransparent);
        for (int x = 1; x < 300; x += 2) {
            dots.set(x, 0, 0);
        }
        static int reports = 0;
        reports = 0;
        SIM_ScanHardkeys(dots, Simulator::kTransparent, [](const char* text) {
            QCOMPARE(QString(text), QString("_AddHardkeyRegion: - Too many hardkeys defined in bitmap"));
            ++reports;
        });
        QCOMPARE(SIM_HardkeyCount(), 128);
        QCOMPARE(reports, 1);
    }

    void testButtonsPostOnceAndSetStatusBits()
    {
        ScratchDir dir;
        SimOptions o = Quiet(dir.path());
        o.pictures = PANEL_ASSETS_DIR;
        o.picturesGiven = true;
        Simulator sim(o, Idle);
        sim.loadPictures();
        sim.host().keyPortInit();
        RecordScreenTask();
        SIM_HardkeyMouse(13, true);
        SIM_HardkeyMouse(13, false);
        SM_RunQueued();
        QCOMPARE(posted, std::vector<std::uint16_t>{SIG_3UHR_RESTART});
        posted.clear();
        SIM_HardkeyMouse(15, true);
        QCOMPARE(DAT_StatusByte(DAT_STATUS_CONTROLLER) & DAT_CTRL_FA_PARAMETRISATION, 1);
        SIM_HardkeyMouse(17, true);
        SIM_HardkeyMouse(16, true);
        QCOMPARE(DAT_StatusByte(DAT_STATUS_CONTROLLER) & 3, DAT_CTRL_CALIBRATION);
        SIM_HardkeyMouse(18, true);
        QCOMPARE(DAT_StatusByte(DAT_STATUS_CONTROLLER) & 3, 0);
        SIM_HardkeyMouse(25, true); // 19 to 30 do nothing
        SM_RunQueued();
        QCOMPARE(posted.size(), std::size_t{4});
        QCOMPARE(HAL_InterruptNesting(), 0U);
    }

    void functionKeysPauseAndResumeWhateverTheMenusShowed()
    {
        ScratchDir dir;
        Simulator sim(Quiet(dir.path()), Idle);
        QVERIFY(sim.startUp());
        QStringList boxes;
        sim.boxHook = [&](const QString& text, const QString&, bool) { boxes << text; };
        QWidget* top = sim.topWindow();
        top->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(top));
        // Nothing runs yet: the keys change nothing and say nothing.
        QTest::keyClick(top, Qt::Key_F5);
        QTest::keyClick(top, Qt::Key_F4);
        QVERIFY(!sim.runner().paused());

        sim.startApplication();
        // The menu, opened while running, leaves Resume disabled behind it.
        sim.popupMenu(QPoint(10, 10));
        QVERIFY(!sim.action(CMD_RESUME)->isEnabled());
        QApplication::activePopupWidget()->close();
        QTest::keyClick(top, Qt::Key_F5); // running: nothing to resume
        QTest::keyClick(top, Qt::Key_F4);
        QVERIFY(sim.runner().waitParked(std::chrono::seconds(5)));
        QCOMPARE(sim.expectedTitle(), QString("LumUI Simulation(Suspended)"));
        QTest::keyClick(top, Qt::Key_F4);
        QVERIFY(sim.action(CMD_RESUME)->isEnabled());
        QTest::keyClick(top, Qt::Key_F5);
        QVERIFY(!sim.runner().paused());
        QTest::keyClick(top, Qt::Key_F5);
        QCOMPARE(sim.expectedTitle(), QString("LumUI Simulation(Executing)"));
        QCOMPARE(boxes, QStringList{});
        // One line per change, its time and message together.
        const std::string log = sim.log().text();
        auto count = [&](const std::string& what) {
            std::size_t n = 0;
            for (std::size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) {
                ++n;
            }
            return n;
        };
        QCOMPARE(count("Application suspended"), std::size_t{1});
        QCOMPARE(count("Application continued"), std::size_t{1});
        QCOMPARE(count(":   \n"), std::size_t{0});
        QVERIFY(log.find(":   Application suspended") != std::string::npos);

        // A stop reaches a paused application too.
        sim.command(CMD_PAUSE);
        QVERIFY(sim.runner().waitParked(std::chrono::seconds(5)));
        QCOMPARE(sim.runner().stop(), AppRunner::Stop::Ended);
        QVERIFY(!sim.runner().hasThread());
    }

    // SIGTERM (its handler sets quitRequested) ends the event loop promptly
    // while paused, with the about box open, and with a message box open.
    void quitRequestEndsEveryStateWithin200Ms()
    {
        ScratchDir dir;
        for (int state = 0; state < 3; ++state) {
            Simulator sim(Quiet(dir.path()), Idle);
            QVERIFY(sim.startUp());
            sim.startApplication();
            if (state == 0) {
                sim.command(CMD_PAUSE);
                QVERIFY(sim.runner().waitParked(std::chrono::seconds(5)));
            }
            QTimer::singleShot(0, [&] {
                if (state == 1) {
                    sim.command(CMD_ABOUT);
                } else if (state == 2) {
                    sim.host().messageBox("a box", "title");
                }
            });
            Clock::time_point asked;
            QTimer::singleShot(100, [&] {
                asked = Clock::now();
                Simulator::quitRequested = 1;
            });
            QApplication::exec();
            sim.shutDown();
            const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - asked);
            Simulator::quitRequested = 0;
            // 200 ms is the promise; the bound only catches a quit held up by the box
            // (a tight wall-clock bound fails on a loaded machine).
            qInfo("state %d: quit after %lld ms", state, static_cast<long long>(took.count()));
            QVERIFY2(took.count() < 2000, qPrintable(QString("state %1: %2 ms").arg(state).arg(took.count())));
        }
    }

    // Step, run until the screen changes, and a recorded session that
    // panel-headless replays to the very same LCD.
    void aRecordedSessionReplaysHeadlessToTheSameLcd()
    {
        ScratchDir dir;
        SimOptions o = Quiet(dir.path());
        o.clock = *ParseClock("2026-03-02T09:30:00");
        o.clockGiven = true;
        std::string recorded;
        LcdPicture shown;
        {
            Simulator sim(o, nullptr); // the real panel
            QVERIFY(sim.startUp());
            auto until = [&](auto done) {
                for (int i = 0; i < 3000 && !done(); ++i) {
                    QTest::qWait(5);
                }
                return done();
            };
            // Paused: in the pause gate, or held by the clock at the end of a step.
            auto parked = [&] {
                return sim.runner().paused() &&
                       (sim.clock().halted() || sim.runner().waitParked(std::chrono::seconds(5)));
            };
            sim.clock().run(100);
            sim.startRecording();
            sim.startApplication();
            QVERIFY(until([&] { return sim.clock().now() >= 9000; })); // past the start-up screen
            // A tap on OK far shorter than the debounce, then MENU held, then BACK.
            SIM_HardkeyMouse(3, true);
            SIM_HardkeyMouse(3, false);
            const std::uint64_t tapped = sim.clock().now();
            QVERIFY(until([&] { return sim.clock().now() >= tapped + 1500; }));
            SIM_HardkeyMouse(7, true);
            QVERIFY(until([&] { return sim.clock().now() >= tapped + 1700; }));
            SIM_HardkeyMouse(7, false);
            QVERIFY(until([&] { return sim.clock().now() >= tapped + 3000; }));
            SIM_HardkeyMouse(0, true);
            SIM_HardkeyMouse(0, false);

            // A step is 100 ms of panel time, then the window pauses.
            sim.command(CMD_PAUSE);
            QVERIFY(parked());
            const std::uint64_t before = sim.clock().now();
            sim.command(CMD_STEP);
            QVERIFY(until([&] { return sim.runner().paused(); }));
            QVERIFY(parked());
            QCOMPARE(sim.clock().now(), before + 100);
            QCOMPARE(sim.expectedTitle(), QString("LumUI Simulation(Suspended)"));
            // Until the screen changes: the clock's minute comes at the latest.
            const std::uint32_t drawn = sim.lcd().modifications();
            sim.command(CMD_UNTIL_CHANGE);
            QVERIFY(until([&] { return sim.runner().paused(); }));
            QVERIFY(parked());
            QVERIFY(sim.lcd().modifications() != drawn);
            QVERIFY(sim.clock().now() > before + 100);

            recorded = sim.recording();
            shown.rgb = sim.lcdPixels();
            sim.stopRecording();
        }
        QVERIFY2(recorded.find("press OK\nrelease\n") != std::string::npos, recorded.c_str());
        QVERIFY2(recorded.find("press MENU\n") != std::string::npos, recorded.c_str());
        QVERIFY2(recorded.find("button") == std::string::npos, recorded.c_str());
        QVERIFY2(recorded.find("--clock 2026-03-02T09:30:00") != std::string::npos, recorded.c_str());

        QVERIFY(LcdPngWrite(dir.path() + "/shown.png", shown));
        std::string error;
        auto scenario = Scenario::parse(dir.path() + "/session.scn", recorded + "expect-lcd shown.png\n", error);
        QVERIFY2(scenario.has_value(), error.c_str());
        RunOptions run;
        std::filesystem::create_directory(dir.path() + "/headless");
        run.host.lockDirectory = dir.path() + "/headless";
        run.host.fixedClock = true;
        run.host.clock = HOST_LocalTime{o.clock, 0, false};
        run.host.errorLogPath = "";
        QCOMPARE(int(RunScenario(std::move(*scenario), run)), int(RUN_OK));
    }

    // A plant file loaded in the window reaches the panel over the bus: a
    // commissioned plant skips the commissioning assistant.
    void aCommissionedPlantFromTheWindowStartsAtTheBaseDisplay()
    {
        ScratchDir dir;
        DAT_PowerOn();
        DAT_InitDefaults(0);
        DAT_Image plant = DAT_image;
        plant.service[DAT_SERVICE_REQUESTS] &= static_cast<std::uint8_t>(~DAT_SVC1_COMMISSIONING);
        {
            std::ofstream(dir.path() + "/bad.plant") << "system 0: 00\nsytem 1: 00\n";
            std::ofstream(dir.path() + "/p.plant") << PlantFileText(plant);
        }
        Simulator sim(Quiet(dir.path()), nullptr);
        std::string error;
        QVERIFY(!sim.takePlant(dir.path() + "/bad.plant", error));
        QVERIFY2(error.find("bad.plant:2: no block 'sytem'") != std::string::npos, error.c_str());
        QVERIFY(!sim.unitConnected());
        std::mutex mutex;
        std::string trace;
        sim.traceHook = [&](const char* text) {
            std::lock_guard<std::mutex> guard(mutex);
            trace += text;
        };
        auto traced = [&](const std::string& line) {
            std::lock_guard<std::mutex> guard(mutex);
            return trace.find(line) != std::string::npos;
        };
        QVERIFY(sim.startUp());
        sim.clock().run(100);
        sim.startApplication();
        for (int i = 0; i < 2000 && !traced("BKE_Kontrasteinstellung Init"); ++i) {
            QTest::qWait(5);
        }
        QVERIFY(sim.takePlant(dir.path() + "/p.plant", error));
        QVERIFY(sim.unitConnected());
        for (int i = 0; i < 4000 && !traced("BGA_Grundanzeige Init"); ++i) {
            QTest::qWait(5);
        }
        QVERIFY(traced("BGA_Grundanzeige Init"));
        QVERIFY(!traced("BIA_InbetriebnahmeAssistent Entry"));
    }

    // Fast-forwarded, the GIF still shows each picture at the panel time the
    // panel showed it: the frame a viewer sees at t is the headless host's
    // LCD at t; the picture grabbed at a panel time is the device with that LCD.
    void recordingsKeepThePanelsOwnTime()
    {
        ScratchDir dir;
        SimOptions o = Quiet(dir.path());
        o.clock = *ParseClock("2026-03-02T09:30:00");
        o.clockGiven = true;
        constexpr std::uint64_t kEnd = 12000;
        const std::uint64_t seen[] = {3050, 7450, kEnd - 10};
        {
            Simulator sim(o, nullptr); // the real panel
            QVERIFY(sim.startUp());
            std::string error;
            QVERIFY(!sim.startFrames(FrameRecorder::Kind::Gif, dir.path() + "/none/a.gif", error));
            QCOMPARE(QString::fromStdString(error),
                     QString::fromStdString("cannot write " + dir.path() + "/none/a.gif: No such file or directory"));
            QVERIFY2(sim.startFrames(FrameRecorder::Kind::Gif, dir.path() + "/a.gif", error), error.c_str());
            sim.capture().grabAt(dir.path() + "/grab.png", seen[1], 1);
            sim.clock().run(PacedClock::kFastest);
            sim.clock().haltAt(kEnd);
            sim.startApplication();
            for (int i = 0; i < 4000 && !(sim.clock().halted() && sim.clock().now() >= kEnd); ++i) {
                QTest::qWait(5);
            }
            QCOMPARE(sim.clock().now(), kEnd);
            sim.shutDown();
        }
        std::vector<GifShown> frames;
        int width = 0;
        int height = 0;
        std::string error;
        QVERIFY2(GifReadFrames(dir.path() + "/a.gif", frames, width, height, error), error.c_str());
        QCOMPARE(width, 240);
        QVERIFY(frames.size() > 10); // the start-up screen's progress bar moves
        auto shownAt = [&](std::uint64_t ms) -> const GifShown* {
            std::uint64_t from = 0;
            for (const GifShown& f : frames) {
                from += static_cast<std::uint64_t>(f.delayCs) * 10;
                if (ms < from) {
                    return &f;
                }
            }
            return nullptr;
        };
        auto scenario = Scenario::parse(dir.path() + "/s.scn",
                                        "wait 3050\nsnapshot s0.png\nwait 4400\nsnapshot s1.png\nwait 4540\n"
                                        "snapshot s2.png\n",
                                        error);
        QVERIFY2(scenario.has_value(), error.c_str());
        RunOptions run;
        std::filesystem::create_directory(dir.path() + "/headless");
        run.host.lockDirectory = dir.path() + "/headless";
        run.host.fixedClock = true;
        run.host.clock = HOST_LocalTime{o.clock, 0, false};
        run.host.errorLogPath = "";
        QCOMPARE(int(RunScenario(std::move(*scenario), run)), int(RUN_OK));
        for (int i = 0; i < 3; ++i) {
            LcdPicture headless;
            QVERIFY2(LcdPngRead(dir.path() + "/s" + std::to_string(i) + ".png", headless, error), error.c_str());
            // A scenario's snapshot at t comes before the panel's work at t.
            const GifShown* shown = shownAt(seen[i] - 1);
            QVERIFY(shown != nullptr);
            QVERIFY2(shown->rgb == headless.rgb, std::to_string(seen[i]).c_str());
        }
        const QImage grab(QString::fromStdString(dir.path() + "/grab.png"));
        QCOMPARE(grab.size(), QSize(450, 311));
        QCOMPARE(qAlpha(grab.pixel(0, 0)), 0); // outside the device
        const GifShown* grabbed = shownAt(seen[1]);
        QVERIFY(grabbed != nullptr);
        const QImage lcd = grab.copy(45, 30, 240, 160).convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < 160; ++y) {
            for (int x = 0; x < 240; ++x) {
                QCOMPARE(lcd.pixel(x, y) & 0xFFFFFFU, grabbed->rgb[static_cast<std::size_t>(y) * 240 + x]);
            }
        }
    }

    // --plant: a commissioned plant starts at the base display; the control
    // unit's window changes the plant over the bus (recorded as a scenario
    // line), and the state view sees what the panel holds, exactly where it paused.
    void plantOptionUnitWindowAndStateView()
    {
        ScratchDir dir;
        std::ofstream(dir.path() + "/bad.plant") << "service 1: 03\nservice 99: 00\n";
        std::ofstream(dir.path() + "/c.plant") << "service 1: 03\n";
        SimOptions o;
        std::string message;
        bool help = false;
        QVERIFY(!ParseSimOptions({"--plant", dir.path() + "/bad.plant"}, o, message, help));
        QVERIFY2(message.find("bad.plant:2: service has bytes 0 to 53") != std::string::npos, message.c_str());
        QVERIFY(!ParseSimOptions({"--plant", dir.path()}, o, message, help));
        QVERIFY2(message.find("not a regular file") != std::string::npos, message.c_str());

        o = Quiet(dir.path());
        o.plant = dir.path() + "/c.plant";
        Simulator sim(o, nullptr);
        QVERIFY(sim.startUp());
        sim.openUnitWindow();
        sim.openStateView();
        auto until = [&](auto done) {
            for (int i = 0; i < 4000; ++i) {
                if (done()) {
                    return true;
                }
                QTest::qWait(5);
            }
            return false;
        };
        StateSnapshot s;
        auto panelHolds = [&](auto test) { return until([&] { return sim.watch().latest(s.serial, s) && test(s); }); };
        auto basePath = [](const StateSnapshot& x) {
            for (const PanelTaskState& t : x.panel.tasks) {
                std::string path;
                for (const std::string& state : t.path) {
                    path += state + " ";
                }
                if (path.find("BMM_Menuemonitor BGA_Grundanzeige") != std::string::npos) {
                    return true;
                }
            }
            return false;
        };
        sim.clock().run(PacedClock::kFastest);
        sim.startRecording();
        sim.startApplication();
        QVERIFY(panelHolds(basePath));
        QVERIFY(sim.unitConnected());

        auto* boiler = sim.unitWindow()->findChild<QSpinBox*>("boiler");
        QVERIFY(boiler != nullptr);
        boiler->setValue(72);
        QVERIFY(panelHolds(
            [](const StateSnapshot& x) { return DAT_TempUnsigned(x.panel.image.status[DAT_STATUS_BOILER]) == 72; }));
        QVERIFY(s.plant.has_value());
        QCOMPARE(s.plant->status[DAT_STATUS_BOILER], std::uint8_t{144});
        QVERIFY2(sim.recording().find("plant-set boiler 72\n") != std::string::npos, sim.recording().c_str());

        sim.command(CMD_PAUSE);
        QVERIFY(sim.runner().waitParked(std::chrono::seconds(5)));
        QVERIFY(panelHolds([&](const StateSnapshot& x) { return x.ms == sim.clock().milliseconds(); }));
        QString text;
        QVERIFY2(until([&] {
                     text = sim.stateView()->findChild<QPlainTextEdit*>()->toPlainText();
                     return text.contains("1 Bedienung") && text.contains("BMM_Menuemonitor > BGA_Grundanzeige") &&
                            text.contains(QString("Panel time %1 ms").arg(s.ms));
                 }),
                 qPrintable(text));
        sim.stopRecording();
    }

    void restartFindsItsOwnLockAndDrawsAgain()
    {
        ScratchDir dir;
        Simulator sim(Quiet(dir.path()), nullptr); // the real panel
        std::mutex mutex;
        std::condition_variable traced;
        int starts = 0;
        sim.traceHook = [&](const char* text) {
            if (std::string(text).find("BKE_Kontrasteinstellung Init") != std::string::npos) {
                std::lock_guard<std::mutex> guard(mutex);
                ++starts;
                traced.notify_all();
            }
        };
        QStringList boxes;
        sim.boxHook = [&](const QString& text, const QString&, bool) { boxes << text; };
        QVERIFY(sim.startUp());
        auto waitStarts = [&](int n) {
            std::unique_lock<std::mutex> lock(mutex);
            return traced.wait_for(lock, std::chrono::seconds(10), [&] { return starts >= n; });
        };
        sim.startApplication();
        QVERIFY(waitStarts(1));
        sim.command(CMD_RESTART);
        QVERIFY(waitStarts(2));
        QVERIFY(sim.runner().hasThread());
        QCOMPARE(boxes, QStringList{});
        QVERIFY(sim.log().text().find("Application terminated") == std::string::npos);
        QVERIFY(DesktopHost::OwnsInstanceLock());
    }

    void errorsWithArgumentsReachLogAndFileButNoBox()
    {
        ScratchDir dir;
        SimOptions o;
        std::string message;
        bool help = false;
        QVERIFY(ParseSimOptions({"--zoom", "2", "--lock-dir", dir.path()}, o, message, help));
        QVERIFY(!o.errorBoxes);
        QCOMPARE(o.zoom, 2);
        o.lcdMap = "PanelDesktopTestErr" + std::to_string(::getpid());
        Simulator sim(o, Idle);
        QStringList boxes;
        sim.boxHook = [&](const QString& text, const QString&, bool) { boxes << text; };
        QVERIFY(!std::filesystem::exists(dir.path() + "/SimError.log")); // created at the first error
        GUI_UseUtf8();
        std::uint16_t codes[4];
        GUI_Utf8ToCodes("a\xC3", 2, codes, 4); // a lead byte without its continuation
        QCOMPARE(boxes, QStringList{});
        QCOMPARE(sim.host().errorCount(), 0);
        const std::string log = sim.log().text();
        const std::size_t marker = log.find('\x01');
        QVERIFY(marker != std::string::npos);
        QVERIFY(log.rfind("\n", marker) < marker && log.find(":   ", log.rfind("\n", marker)) < marker);
        const std::string entry = log.substr(marker + 1, log.find('\n', marker) - marker - 1);
        QVERIFY(!entry.empty());
        QCOMPARE(dir.read("SimError.log").substr(0, entry.size() + 2), "\r\n" + entry);

        // Without arguments the same error shows a box.
        SimOptions plain = Quiet(dir.path());
        Simulator boxed(plain, Idle);
        boxed.boxHook = [&](const QString& text, const QString& title, bool) { boxes << title + ": " + text; };
        GUI_Utf8ToCodes("\xC3", 1, codes, 4);
        QVERIFY(!boxes.isEmpty());
        QVERIFY(boxes[0].startsWith("LumUISim: "));
        QCOMPARE(boxed.host().errorCount(), static_cast<int>(boxes.size()));

        QVERIFY(!ParseSimOptions({"--zoom", "5"}, o, message, help));
        QVERIFY(!ParseSimOptions({"--pictures"}, o, message, help));
        QVERIFY(!ParseSimOptions({"--frobnicate"}, o, message, help));
        QVERIFY(!ParseSimOptions({"--lock-dir", ""}, o, message, help)); // not the root directory
        QCOMPARE(message, std::string("panel-sim: --lock-dir needs a value"));
    }

    void logDropsItsOldestLinesFirst()
    {
        LogBuffer log;
        std::string lines;
        for (int i = 0; i < 499; ++i) {
            const std::string n = std::to_string(1000 + i).substr(1);
            lines += "line " + n + ".\n"; // 10 characters
        }
        log.append(lines);
        QCOMPARE(log.text().size(), std::size_t{4990});
        log.append("\x01"
                   "error: 12345678901");
        const std::string text = log.text();
        QVERIFY(text.size() <= LogBuffer::kLimit);
        QCOMPARE(text.substr(0, 10), std::string("line 001.\n")); // line 000 went, line 001 stays
        QCOMPARE(text.substr(text.size() - 19), std::string("\x01"
                                                            "error: 12345678901"));
        // Red from the marker to the end of the line.
        const auto segments = LogBuffer::segments("12:   \x01"
                                                  "bad text");
        QCOMPARE(segments.size(), std::size_t{2});
        QVERIFY(!segments[0].red);
        QVERIFY(segments[1].red);
        QCOMPARE(segments[1].text, std::string("bad text"));
        // Nothing to cut at: the buffer never overflows, appending never loops.
        LogBuffer flat;
        flat.append(std::string(4995, 'x'));
        flat.append(std::string(6000, 'y'));
        QCOMPARE(flat.text(), std::string(5000, 'y'));
    }

    void sharedLcdMemoryHasTheHeaderAndRows()
    {
        const std::string name = "PanelDesktopTestMap" + std::to_string(::getpid());
        LcdMap writer;
        std::string error;
        QVERIFY2(writer.create(name, 240, 160, error), error.c_str());
        const std::uint8_t* d = writer.data();
        auto u32 = [d](std::size_t offset) {
            std::uint32_t v;
            std::memcpy(&v, d + offset, 4);
            return v;
        };
        QCOMPARE(std::string(reinterpret_cast<const char*>(d)), std::string("LumUI GSC Simulation"));
        QCOMPARE(u32(32), 240U);
        QCOMPARE(u32(36), 160U);
        QCOMPARE(u32(40), 240U);
        QCOMPARE(u32(44), 160U);
        QCOMPARE(u32(52), 24U);
        QCOMPARE(u32(56), 0x1000000U);
        QCOMPARE(u32(60), 0U);
        QCOMPARE(u32(256), 40U);                             // header size
        QCOMPARE(static_cast<std::int32_t>(u32(264)), -160); // rows top-down
        QCOMPARE(u32(268), 1U | (32U << 16));                // one plane, 32 bits
        const std::uint32_t block[2 * 3] = {0x112233, 0x445566, 0x778899, 0xAABBCC, 0xDDEEFF, 0x010203};
        writer.writeBlock(238, 159, 3, 2, block); // clipped to the corner pixel
        writer.setPixel(0, 1, 0xFF123456);
        QCOMPARE(u32(60), 3U); // one per pixel written
        QCOMPARE(u32(4096 + 159 * 960 + 238 * 4), 0x112233U);
        QCOMPARE(u32(4096 + 159 * 960 + 239 * 4), 0x445566U);
        QCOMPARE(u32(4096 + 960), 0x123456U);
        writer.setPointer(10, 20, 1);
        QCOMPARE(u32(80), 10U);
        QCOMPARE(u32(88), 1U);

        LcdMap reader;
        QVERIFY2(reader.attach(name, error), error.c_str());
        QCOMPARE(reader.pixel(239, 159), 0x445566U);
        QCOMPARE(reader.modifications(), 3U);
        writer.close(true);
        QVERIFY(!reader.attach(name, error));
    }

    void clipboardPictureHasFiveBitsPerChannel()
    {
        QCOMPARE(Rgb555(0xFFFFFF), std::uint16_t{0x7FFF});
        QCOMPARE(Rgb555(0x000000), std::uint16_t{0});
        QCOMPARE(Rgb555(0xCECECE), std::uint16_t{(25 << 10) | (25 << 5) | 25}); // (206 * 31 + 127) / 255 = 25
        QCOMPARE(Rgb555(0x040000), std::uint16_t{0});                           // rounds, does not truncate up
        QCOMPARE(Rgb555(0x050000), std::uint16_t{1 << 10});
        std::vector<std::uint32_t> rgb(3 * 2, 0);
        rgb[0] = 0xFF0000; // top-left
        const std::vector<std::uint8_t> dib = LcdDib555(rgb.data(), 3, 2);
        QCOMPARE(dib.size(), std::size_t{40 + 2 * 8}); // rows padded to 4 bytes
        QCOMPARE(int(dib[14]), 16);
        QCOMPARE(int(dib[40 + 8]) | int(dib[40 + 9]) << 8, 0x7C00); // the top row comes last
    }

    void keyboardOptionDrivesThePanelKeys()
    {
        ScratchDir dir;
        SimOptions o = Quiet(dir.path());
        Simulator off(o, Idle);
        off.host().keyPortSetReadEnable(1);
        off.pcKey(Qt::Key_Return, true);
        QCOMPARE(off.host().keyPortRead(), std::uint8_t{0});
        o.keyboard = true;
        Simulator on(o, Idle);
        on.host().keyPortSetReadEnable(1);
        const std::pair<int, std::uint8_t> keys[] = {
            {Qt::Key_Up, 0x08}, {Qt::Key_Return, 0x20}, {Qt::Key_Escape, 0x01}, {Qt::Key_Backspace, 0x01},
            {Qt::Key_M, 0x80},  {Qt::Key_F1, 0x40},     {Qt::Key_H, 0x40},      {Qt::Key_Right, 0x04}};
        for (const auto& [key, raw] : keys) {
            on.pcKey(key, true);
            QCOMPARE(on.host().keyPortRead(), raw);
            QCOMPARE(on.host().keyPortRead(), raw);
            on.pcKey(key, false);
            QCOMPARE(on.host().keyPortRead(), std::uint8_t{0});
        }
        on.pcKey(Qt::Key_F3, true);
        QCOMPARE(on.host().keyPortRead(), std::uint8_t{0});
    }

    void defaultZoomMakesTheLcdReadableWhereItFits()
    {
        QCOMPARE(DefaultZoom(450, 311, 1920, 1080, 96, 1), 2); // ordinary screen
        QCOMPARE(DefaultZoom(450, 311, 1280, 720, 96, 1), 2);
        QCOMPARE(DefaultZoom(450, 311, 1024, 600, 96, 1), 1);   // too small for 2x
        QCOMPARE(DefaultZoom(450, 311, 3840, 2160, 192, 2), 2); // the desktop scales already
        QCOMPARE(DefaultZoom(450, 311, 3840, 2160, 192, 1), 3); // dense and unscaled
        QCOMPARE(DefaultZoom(450, 311, 3840, 2160, 300, 1), 4);
    }
};

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "desktop_test.moc"
