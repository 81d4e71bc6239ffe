// The simulator's windows: the device and frame layouts, zoom, menus and
// their commands.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "sim/ControlUnit.h"
#include "sim/LcdPng.h"
#include "sim/PlantFile.h"
#include "sim/desktop/ColorsView.h"
#include "sim/desktop/DeviceWindow.h"
#include "sim/desktop/Hardkeys.h"
#include "sim/desktop/KeyWindow.h"
#include "sim/desktop/LcdExport.h"
#include "sim/desktop/LcdView.h"
#include "sim/desktop/LogView.h"
#include "sim/desktop/MainFrame.h"
#include "sim/desktop/QtPicture.h"
#include "sim/desktop/Simulator.h"
#include "sim/desktop/SysInfoView.h"
#include "sim/headless/Options.h"

QWidget* Simulator::topWindow() const
{
    return options_.frame ? static_cast<QWidget*>(main_.data()) : device_.data();
}

QWidget* Simulator::keyWindow(int index) const
{
    return index >= 0 && index < static_cast<int>(keyWindows_.size()) ? keyWindows_[index].data() : nullptr;
}

QAction* Simulator::action(int id) const
{
    const auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void Simulator::buildActions()
{
    actionOwner_ = std::make_unique<QObject>();
    auto add = [this](int id, const QString& text) {
        auto* a = new QAction(text, actionOwner_.get());
        a->setData(id);
        a->setObjectName(QString::number(id));
        QObject::connect(a, &QAction::triggered, [this, id] { command(id); });
        actions_[id] = a;
        return a;
    };
    add(CMD_PAUSE, "Pause Application");
    add(CMD_RESUME, "Resume Application");
    add(CMD_SYSINFO, "&View system info");
    add(CMD_EXIT, "E&xit");
    add(CMD_COPY, "Copy to clipboard");
    add(CMD_SAVE_PNG, "Save LCD as PNG...");
    add(CMD_LOG, "Log");
    add(CMD_ABOUT, "&About ...");
    add(CMD_RESTART, "Restart Application");
    for (int i = 0; i < 6; ++i) {
        add(CMD_LAYER0 + i, QString("Layer &%1").arg(i));
        add(CMD_COLORS0 + i, QString("Layer &%1").arg(i));
    }
    for (int z = 1; z <= 4; ++z) {
        QAction* a = add(CMD_ZOOM1 + z - 1, QString("Zoom &%1x").arg(z));
        a->setCheckable(true);
    }
    add(CMD_STEP, "&Step 100 ms\tF6");
    add(CMD_RUN, "&Run\tF7");
    add(CMD_FAST10, "Fast x&10");
    add(CMD_FAST100, "Fast x100");
    add(CMD_FASTEST, "As fast as possible");
    add(CMD_UNTIL_CHANGE, "Until the screen &changes\tF8");
    add(CMD_RECORD, "Record session...");
    for (int id : {int(CMD_RUN), int(CMD_FAST10), int(CMD_FAST100), int(CMD_FASTEST)}) {
        action(id)->setCheckable(true);
    }
    action(CMD_RECORD)->setCheckable(true);
    add(CMD_RECORD_GIF, "Record as &GIF...")->setCheckable(true);
    add(CMD_RECORD_PNG, "Record as PNG frames...")->setCheckable(true);
    add(CMD_RECORD_DEVICE, "Record the whole device")->setCheckable(true);
    add(CMD_UNIT, "Connect the &control unit")->setCheckable(true);
    add(CMD_PLANT_LOAD, "&Load plant file...");
    add(CMD_PLANT_SAVE, "&Save plant file...");
    add(CMD_SET_CLOCK, "Set the panel's clock...");
    add(CMD_UNIT_WINDOW, "Plant &values...");
    add(CMD_STATE_VIEW, "S&tate view");
    // The menus show the key beside the text; Alt+F4 belongs to the window manager.
    action(CMD_PAUSE)->setText("Pause Application\tF4");
    action(CMD_RESUME)->setText("Resume Application\tF5");
    action(CMD_RESTART)->setText("Restart Application\tF3");
    action(CMD_EXIT)->setText("E&xit\tALT-F4");

    popup_ = new QMenu;
    for (int id : {int(CMD_PAUSE), int(CMD_RESUME), int(CMD_RESTART), int(CMD_SYSINFO), int(CMD_COPY),
                   int(CMD_SAVE_PNG), int(CMD_LOG)}) {
        popup_->addAction(action(id));
    }
    QMenu* zoomMenu = popup_->addMenu("&Zoom");
    for (int z = 0; z < 4; ++z) {
        zoomMenu->addAction(action(CMD_ZOOM1 + z));
    }
    QMenu* timeMenu = popup_->addMenu("&Time");
    for (int id :
         {int(CMD_STEP), int(CMD_RUN), int(CMD_FAST10), int(CMD_FAST100), int(CMD_FASTEST), int(CMD_UNTIL_CHANGE)}) {
        timeMenu->addAction(action(id));
    }
    popup_->addAction(action(CMD_RECORD));
    for (int id : {int(CMD_RECORD_GIF), int(CMD_RECORD_PNG), int(CMD_RECORD_DEVICE)}) {
        popup_->addAction(action(id));
    }
    QMenu* unitMenu = popup_->addMenu("&Control unit");
    for (int id : {int(CMD_UNIT), int(CMD_UNIT_WINDOW), int(CMD_PLANT_LOAD), int(CMD_PLANT_SAVE), int(CMD_SET_CLOCK)}) {
        unitMenu->addAction(action(id));
    }
    popup_->addAction(action(CMD_STATE_VIEW));
    popup_->addSeparator();
    popup_->addAction(action(CMD_ABOUT));
    popup_->addAction(action(CMD_EXIT));
    QObject::connect(popup_, &QMenu::aboutToShow, [this] { updateMenus(); });
}

void Simulator::bindFunctionKeys()
{
    // Shortcuts of their own, not the actions' ones: a disabled menu entry
    // (the menus show what makes sense now) must not swallow the key, and the
    // key works in every window of the simulator.
    for (const auto& [key, id] : {std::pair{Qt::Key_F3, int(CMD_RESTART)}, std::pair{Qt::Key_F4, int(CMD_PAUSE)},
                                  std::pair{Qt::Key_F5, int(CMD_RESUME)}, std::pair{Qt::Key_F6, int(CMD_STEP)},
                                  std::pair{Qt::Key_F7, int(CMD_RUN)}, std::pair{Qt::Key_F8, int(CMD_UNTIL_CHANGE)}}) {
        auto* shortcut = new QShortcut(QKeySequence(key), topWindow());
        shortcut->setContext(Qt::ApplicationShortcut);
        const int command = id;
        QObject::connect(shortcut, &QShortcut::activated, [this, command] { this->command(command); });
    }
}

void Simulator::updateMenus()
{
    const bool running = runner_->hasThread();
    const bool paused = runner_->paused();
    action(CMD_PAUSE)->setEnabled(running && !paused);
    action(CMD_RESUME)->setEnabled(running && paused);
    action(CMD_SYSINFO)->setEnabled(sysInfo_ == nullptr);
    for (int i = 0; i < 6; ++i) {
        action(CMD_LAYER0 + i)->setEnabled(i == 0 && options_.frame);
        action(CMD_COLORS0 + i)->setEnabled(i == 0);
    }
    const bool live = running && !paused;
    const int speed = clock_.speed();
    action(CMD_RUN)->setChecked(live && speed == 1);
    action(CMD_FAST10)->setChecked(live && speed == 10);
    action(CMD_FAST100)->setChecked(live && speed == 100);
    action(CMD_FASTEST)->setChecked(live && speed == PacedClock::kFastest);
    action(CMD_RECORD)->setChecked(recordingOn());
    action(CMD_UNIT)->setChecked(unitOn_);
    action(CMD_PLANT_SAVE)->setEnabled(unitOn_);
    action(CMD_SET_CLOCK)->setEnabled(unitOn_);
    action(CMD_RECORD)->setText(recordingOn() ? "Stop recording..." : "Record session...");
    for (const auto& [id, kind] : {std::pair{int(CMD_RECORD_GIF), FrameRecorder::Kind::Gif},
                                   std::pair{int(CMD_RECORD_PNG), FrameRecorder::Kind::Png}}) {
        action(id)->setChecked(capture_.recording(kind));
    }
    action(CMD_RECORD_GIF)
        ->setText(capture_.recording(FrameRecorder::Kind::Gif) ? "Stop the GIF" : "Record as &GIF...");
    action(CMD_RECORD_PNG)
        ->setText(capture_.recording(FrameRecorder::Kind::Png) ? "Stop the PNG frames" : "Record as PNG frames...");
    action(CMD_RECORD_DEVICE)->setChecked(recordDevice_);
    action(CMD_RECORD_DEVICE)->setEnabled(capture_.hasDevice());
    const int most = maxZoom();
    for (int z = 1; z <= 4; ++z) {
        action(CMD_ZOOM1 + z - 1)->setChecked(z == zoom_);
        action(CMD_ZOOM1 + z - 1)->setEnabled(z <= most);
    }
}

void Simulator::popupMenu(const QPoint& globalPos)
{
    updateMenus();
    popup_->popup(globalPos);
}

void Simulator::buildDeviceLayout()
{
    auto* device = new DeviceWindow(*this);
    device_ = device;
    device->setWindowTitle("Target device");
    auto* lcdView = new LcdView(*this, device);
    lcdWindow_ = lcdView;
    keyWindows_.clear();
    for (int i = 0; i < SIM_MAX_HARDKEYS; ++i) {
        const SIM_HARDKEY k = SIM_GetHardkey(i);
        if (k.x1 > k.x0 && k.y1 >= k.y0) {
            keyWindows_.push_back(new KeyWindow(*this, i, restImage_, pressedImage_, device));
        }
    }
    layoutDevice();
    device->move(10, 20);
}

void Simulator::layoutDevice()
{
    if (device_ == nullptr) {
        return;
    }
    device_->setFixedSize(rest_.width * zoom_, rest_.height * zoom_);
    const QBitmap shape = Mask(rest_, QRect(0, 0, rest_.width, rest_.height), zoom_);
    if (shape.isNull()) {
        host_->reportError("Could not create region");
    } else {
        device_->setMask(shape);
    }
    lcdWindow_->setGeometry(kLcdX * zoom_, kLcdY * zoom_, kLcdWidth * zoom_, kLcdHeight * zoom_);
    for (QPointer<QWidget>& w : keyWindows_) {
        static_cast<KeyWindow*>(w.data())->place(zoom_);
    }
    device_->update();
}

void Simulator::buildFrameLayout()
{
    auto* frame = new MainFrame(*this);
    main_ = frame;
    frame->setWindowTitle("LumUI Simulation");
    QMenu* file = frame->menuBar()->addMenu("&File");
    for (int id : {int(CMD_PAUSE), int(CMD_RESUME), int(CMD_SYSINFO), int(CMD_COPY), int(CMD_SAVE_PNG)}) {
        file->addAction(action(id));
    }
    file->addSeparator();
    file->addAction(action(CMD_EXIT));
    QMenu* timeMenu = frame->menuBar()->addMenu("&Time");
    for (int id : {int(CMD_STEP), int(CMD_RUN), int(CMD_FAST10), int(CMD_FAST100), int(CMD_FASTEST),
                   int(CMD_UNTIL_CHANGE), int(CMD_RECORD), int(CMD_RECORD_GIF), int(CMD_RECORD_PNG)}) {
        timeMenu->addAction(action(id));
    }
    QMenu* unitMenu = frame->menuBar()->addMenu("&Control unit");
    for (int id : {int(CMD_UNIT), int(CMD_UNIT_WINDOW), int(CMD_PLANT_LOAD), int(CMD_PLANT_SAVE), int(CMD_SET_CLOCK)}) {
        unitMenu->addAction(action(id));
    }
    timeMenu->addAction(action(CMD_RECORD_DEVICE));
    QMenu* view = frame->menuBar()->addMenu("&View");
    view->addAction(action(CMD_STATE_VIEW));
    QMenu* layers = view->addMenu("&Layer");
    QMenu* colours = view->addMenu("&Colors");
    for (int i = 0; i < 6; ++i) {
        layers->addAction(action(CMD_LAYER0 + i));
        colours->addAction(action(CMD_COLORS0 + i));
    }
    view->addAction(action(CMD_LOG));
    QMenu* zoomMenu = view->addMenu("&Zoom");
    for (int z = 0; z < 4; ++z) {
        zoomMenu->addAction(action(CMD_ZOOM1 + z));
    }
    frame->menuBar()->addMenu("&Help")->addAction(action(CMD_ABOUT));
    for (QMenu* m : {file, timeMenu, unitMenu, view, layers, colours}) {
        QObject::connect(m, &QMenu::aboutToShow, [this] { updateMenus(); });
    }
    file->insertAction(action(CMD_SYSINFO), action(CMD_RESTART));
    auto* mdi = new QMdiArea;
    mdi_ = mdi;
    frame->setCentralWidget(mdi);
    frame->resize(kLcdWidth + 250, kLcdHeight + 150);
    openLayer();
    openColors();
    openLog();
}

void Simulator::setZoom(int zoom)
{
    zoom_ = std::clamp(std::min(zoom, maxZoom()), 1, 4);
    if (options_.frame) {
        if (lcdWindow_ != nullptr) {
            lcdWindow_->setFixedSize(kLcdWidth * zoom_, kLcdHeight * zoom_);
            if (auto* sub = qobject_cast<QMdiSubWindow*>(lcdWindow_->parentWidget())) {
                sub->adjustSize();
            }
        }
    } else {
        layoutDevice();
    }
    updateMenus();
}

void Simulator::openLayer()
{
    if (!options_.frame) {
        return;
    }
    if (lcdWindow_ == nullptr) {
        auto* view = new LcdView(*this, nullptr);
        view->setFixedSize(kLcdWidth * zoom_, kLcdHeight * zoom_);
        lcdWindow_ = view;
        QMdiSubWindow* sub = mdi_->addSubWindow(view);
        sub->setWindowTitle(
            QString::asprintf("LCD #%d %d*%d %dbpp, FixedPalette %d", 0, kLcdWidth, kLcdHeight, 24, 888));
        sub->move(0, 0);
    }
    lcdWindow_->parentWidget()->show();
    // Enlarge the main window to fit the layer.
    const QSize need = lcdWindow_->parentWidget()->frameGeometry().bottomRight().x() > 0
                           ? QSize(lcdWindow_->parentWidget()->geometry().right() + 20,
                                   lcdWindow_->parentWidget()->geometry().bottom() + main_->menuBar()->height() + 20)
                           : QSize();
    if (need.isValid()) {
        main_->resize(main_->size().expandedTo(need));
    }
}

void Simulator::openColors()
{
    if (options_.frame) {
        if (colors_ == nullptr) {
            auto* view = new ColorsView;
            colors_ = view;
            QMdiSubWindow* sub = mdi_->addSubWindow(view);
            sub->move(kLcdWidth * zoom_ + 20, 0);
        }
        colors_->parentWidget()->show();
        return;
    }
    if (colors_ == nullptr) {
        colors_ = new ColorsView;
        colors_->setAttribute(Qt::WA_DeleteOnClose);
    }
    colors_->show();
    colors_->raise();
}

void Simulator::openLog()
{
    if (logWindow_ == nullptr) {
        auto* view = new LogView(log_);
        logWindow_ = view;
        if (options_.frame) {
            QMdiSubWindow* sub = mdi_->addSubWindow(view);
            sub->move(0, kLcdHeight * zoom_ + 40);
        } else {
            view->setAttribute(Qt::WA_DeleteOnClose);
        }
    }
    if (options_.frame) {
        logWindow_->parentWidget()->show();
    }
    logWindow_->show();
    logWindow_->raise();
}

void Simulator::openSysInfo()
{
    if (sysInfo_ == nullptr) {
        sysInfo_ = new SysInfoView;
    }
    sysInfo_->show();
}

void Simulator::copyToClipboard()
{
    const std::vector<std::uint32_t> rgb = lcdPixels();
    QImage image(kLcdWidth, kLcdHeight, QImage::Format_RGB555);
    for (int y = 0; y < kLcdHeight; ++y) {
        auto* line = reinterpret_cast<std::uint16_t*>(image.scanLine(y));
        for (int x = 0; x < kLcdWidth; ++x) {
            line[x] = Rgb555(rgb[static_cast<std::size_t>(y) * kLcdWidth + x]);
        }
    }
    auto* mime = new QMimeData;
    mime->setImageData(image);
    const std::vector<std::uint8_t> dib = LcdDib555(rgb.data(), kLcdWidth, kLcdHeight);
    mime->setData("image/x-dib",
                  QByteArray(reinterpret_cast<const char*>(dib.data()), static_cast<qsizetype>(dib.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
}

void Simulator::saveLcdPng()
{
    const QString path =
        QFileDialog::getSaveFileName(topWindow(), "Save LCD as PNG", "lcd.png", "PNG pictures (*.png)");
    if (path.isEmpty()) {
        return;
    }
    LcdPicture picture;
    picture.rgb = lcdPixels();
    if (!LcdPngWrite(path.toStdString(), picture)) {
        showBox("Cannot write " + path, "LumUISim", true);
    }
}

void Simulator::about()
{
    QDialog dialog(topWindow());
    dialog.setWindowTitle(QString::asprintf("About %s", "LumUI Simulation"));
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel("LumUISim"));
    QString version = "X.XX";
    version[0] = '4';
    version[2] = '0';
    version[3] = '6';
    layout->addWidget(new QLabel(QString::asprintf("Version: %s", version.toLatin1().constData())));
    layout->addWidget(new QLabel("Simulation of the boiler control panel"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.exec();
}

void Simulator::command(int id)
{
    switch (id) {
    case CMD_RESTART:
        startApplication();
        break;
    case CMD_PAUSE:
        runner_->pause();
        updateMenus();
        break;
    case CMD_RESUME:
        clock_.run(clock_.speed()); // also after a step or a run until a change
        runner_->resume();
        updateMenus();
        break;
    case CMD_STEP:
        clock_.step(100);
        runner_->resume();
        break;
    case CMD_RUN:
    case CMD_FAST10:
    case CMD_FAST100:
    case CMD_FASTEST:
        clock_.run(id == CMD_RUN ? 1 : id == CMD_FAST10 ? 10 : id == CMD_FAST100 ? 100 : PacedClock::kFastest);
        runner_->resume();
        updateMenus();
        break;
    case CMD_UNTIL_CHANGE: {
        const std::uint32_t before = lcd_.modifications();
        clock_.runUntil([this, before] { return lcd_.modifications() != before; });
        runner_->resume();
        break;
    }
    case CMD_RECORD:
        toggleRecording();
        break;
    case CMD_RECORD_GIF:
        toggleFrames(FrameRecorder::Kind::Gif);
        break;
    case CMD_RECORD_PNG:
        toggleFrames(FrameRecorder::Kind::Png);
        break;
    case CMD_RECORD_DEVICE:
        recordDevice_ = !recordDevice_; // for the recordings started from now on
        updateMenus();
        break;
    case CMD_UNIT:
        connectUnit(!unitOn_);
        break;
    case CMD_PLANT_LOAD:
        loadPlant();
        break;
    case CMD_PLANT_SAVE:
        savePlant();
        break;
    case CMD_SET_CLOCK:
        setPanelClock();
        break;
    case CMD_UNIT_WINDOW:
        openUnitWindow();
        break;
    case CMD_STATE_VIEW:
        openStateView();
        break;
    case CMD_SYSINFO:
        openSysInfo();
        break;
    case CMD_EXIT:
        if (topWindow() != nullptr) {
            topWindow()->close();
        }
        break;
    case CMD_COPY:
        copyToClipboard();
        break;
    case CMD_SAVE_PNG:
        saveLcdPng();
        break;
    case CMD_LOG:
        openLog();
        break;
    case CMD_ABOUT:
        about();
        break;
    default:
        if (id == CMD_LAYER0) {
            openLayer();
        } else if (id == CMD_COLORS0) {
            openColors();
        } else if (id >= CMD_ZOOM1 && id < CMD_ZOOM1 + 4) {
            setZoom(id - CMD_ZOOM1 + 1);
        }
        break;
    }
}

void Simulator::toggleRecording()
{
    if (!recordingOn()) {
        startRecording();
        log("Recording a session");
        updateMenus();
        return;
    }
    const std::string text = recording();
    stopRecording();
    updateMenus();
    const QString path =
        QFileDialog::getSaveFileName(topWindow(), "Save the session as a scenario", "session.scn", "Scenarios (*.scn)");
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        showBox("Cannot write " + path, "LumUISim", true);
    }
}

void Simulator::connectUnit(bool on)
{
    unitOn_ = on;
    // As a scenario's control-unit verb: the plant starts as the panel's image is now.
    input(
        [this, on] {
            if (on && !unit_) {
                unit_ = std::make_shared<ControlUnit>();
            }
            clock_.setRound(on ? std::function<void()>([this] { unit_->round(); }) : nullptr, on ? 100 : 0);
        },
        on ? "control-unit on" : "control-unit off");
    updateMenus();
}

bool Simulator::takePlant(const std::string& path, std::string& error)
{
    std::string text;
    DAT_Image check{};
    if (!PlantFileRead(path, text, error) || !PlantFileApply(path, text, check, error)) {
        return false;
    }
    if (!unitOn_) {
        connectUnit(true);
    }
    input(
        [this, path, text] {
            if (!unit_) {
                unit_ = std::make_shared<ControlUnit>();
            }
            std::string ignored;
            PlantFileApply(path, text, unit_->model(), ignored);
            const DAT_Image& model = unit_->model();
            unit_->sendStatus(std::vector<std::uint8_t>(std::begin(model.status), std::end(model.status)));
            unit_->announce(0x7FFF);
        },
        "plant-file " + path);
    return true;
}

void Simulator::loadPlant()
{
    const QString path =
        QFileDialog::getOpenFileName(topWindow(), "Load a plant file", QString(), "Plant files (*.plant);;All (*)");
    std::string error;
    if (!path.isEmpty() && !takePlant(path.toStdString(), error)) {
        showBox(QString::fromStdString(error), "LumUISim", true);
    }
}

void Simulator::savePlant()
{
    const QString path =
        QFileDialog::getSaveFileName(topWindow(), "Save the plant file", "plant.plant", "Plant files (*.plant)");
    if (path.isEmpty()) {
        return;
    }
    // The plant belongs to the application thread: it writes the file between two steps.
    input(
        [this, file = path.toStdString()] {
            std::FILE* f = unit_ ? std::fopen(file.c_str(), "w") : nullptr;
            const std::string text = unit_ ? PlantFileText(unit_->model()) : std::string();
            if (f == nullptr || std::fputs(text.c_str(), f) < 0 || std::fclose(f) != 0) {
                host_->log(std::string(1, LogBuffer::kRed) + "cannot write " + file);
            }
        },
        {});
}

void Simulator::setPanelClock()
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(topWindow(), "Set the panel's clock", "Date and time (YYYY-MM-DDTHH:MM:SS)",
                              QLineEdit::Normal, QString::fromStdString(clockArgument()), &ok);
    if (!ok) {
        return;
    }
    const auto seconds = ParseClock(text.trimmed().toStdString());
    if (!seconds) {
        showBox("Not a date and time: " + text, "LumUISim", true);
        return;
    }
    // The control unit's clock, which the panel reads with its time telegram.
    const auto value = static_cast<std::uint32_t>(*seconds);
    input(
        [this, value] {
            if (!unit_) {
                return;
            }
            for (int i = 0; i < 4; ++i) {
                unit_->model().system[DAT_SYSTEM_CLOCK + i] = static_cast<std::uint8_t>(value >> (8 * i));
            }
            unit_->announce(1U << 2);
        },
        {});
}
