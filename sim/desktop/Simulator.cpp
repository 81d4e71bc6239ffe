#include "sim/desktop/Simulator.h"

#include <QAction>
#include <QApplication>
#include <QBitmap>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <unistd.h>

#include "core/KEY.h"
#include "core/MainTask.h"
#include "hal/HAL.h"
#include "sim/InstanceLock.h"
#include "sim/LcdPng.h"
#include "sim/PowerOn.h"
#include "sim/desktop/BuiltinPictures.h"
#include "sim/desktop/Hardkeys.h"
#include "sim/desktop/LcdExport.h"

namespace {

QImage ToImage(const Picture& p)
{
    QImage image(p.width, p.height, QImage::Format_RGB32);
    for (int y = 0; y < p.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < p.width; ++x) {
            line[x] = 0xFF000000U | p.at(x, y);
        }
    }
    return image;
}

// Pixels of the picture inside `area` that are not transparent, scaled.
QBitmap Mask(const Picture& p, const QRect& area, int zoom)
{
    QImage mask(area.width(), area.height(), QImage::Format_Mono);
    mask.fill(0);
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            const int px = area.x() + x;
            const int py = area.y() + y;
            if (px < p.width && py < p.height && p.at(px, py) != Simulator::kTransparent) {
                mask.setPixel(x, y, 1);
            }
        }
    }
    mask.setColor(0, 0xFFFFFFFF); // Qt: colour 1 (black) is inside the mask
    mask.setColor(1, 0xFF000000);
    return QBitmap::fromImage(mask.scaled(area.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation));
}

void Nearest(QPainter& painter)
{
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
}

class DeviceWindow final : public QWidget {
  public:
    explicit DeviceWindow(Simulator& sim) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), sim_(sim)
    {
        setAttribute(Qt::WA_DeleteOnClose, false);
        setFocusPolicy(Qt::StrongFocus);
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        Nearest(painter);
        const Picture& p = sim_.restPicture();
        painter.drawImage(QRect(0, 0, p.width * sim_.zoom(), p.height * sim_.zoom()), image());
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) {
            dragFrom_ = e->globalPosition().toPoint();
            dragging_ = true;
        } else if (e->button() == Qt::RightButton) {
            sim_.popupMenu(e->globalPosition().toPoint());
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (dragging_) {
            const QPoint now = e->globalPosition().toPoint();
            move(pos() + now - dragFrom_);
            dragFrom_ = now;
        }
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) {
            dragging_ = false;
        }
    }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!e->isAutoRepeat()) {
            sim_.pcKey(e->key(), true);
        }
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        if (!e->isAutoRepeat()) {
            sim_.pcKey(e->key(), false);
        }
    }
    void closeEvent(QCloseEvent*) override { QCoreApplication::quit(); }

  public:
    const QImage& image()
    {
        if (cache_.isNull() || cacheOf_ != &sim_.restPicture() || cacheSize_ != sim_.restPicture().width) {
            cache_ = ToImage(sim_.restPicture());
            cacheOf_ = &sim_.restPicture();
            cacheSize_ = sim_.restPicture().width;
        }
        return cache_;
    }
    void dropCache() { cache_ = QImage(); }

  private:
    Simulator& sim_;
    QPoint dragFrom_;
    bool dragging_ = false;
    QImage cache_;
    const Picture* cacheOf_ = nullptr;
    int cacheSize_ = 0;
};

class KeyWindow final : public QWidget {
  public:
    KeyWindow(Simulator& sim, int index, const QImage& rest, const QImage& pressed, QWidget* parent)
        : QWidget(parent), sim_(sim), index_(index), rest_(rest), pressed_(pressed)
    {
        setWindowTitle("Hardkey");
    }
    void place(int zoom)
    {
        const SIM_HARDKEY k = SIM_GetHardkey(index_);
        area_ = QRect(k.x0, k.y0, k.x1 - k.x0 + 1, k.y1 - k.y0 + 1);
        setGeometry(area_.x() * zoom, area_.y() * zoom, area_.width() * zoom, area_.height() * zoom);
        setMask(Mask(sim_.pressedPicture(), area_, zoom));
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        Nearest(painter);
        painter.drawImage(rect(), SIM_GetHardkeyState(index_) != 0 ? pressed_ : rest_, area_);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) {
            SIM_HardkeyMouse(index_, true); // the widget keeps the mouse until release
            update();
        } else if (e->button() == Qt::RightButton) {
            sim_.popupMenu(e->globalPosition().toPoint());
        }
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::LeftButton) {
            SIM_HardkeyMouse(index_, false);
            update();
        }
    }

  private:
    Simulator& sim_;
    int index_;
    const QImage& rest_;
    const QImage& pressed_;
    QRect area_;
};

class LcdView final : public QWidget {
  public:
    LcdView(Simulator& sim, QWidget* parent) : QWidget(parent), sim_(sim), image_(240, 160, QImage::Format_RGB32)
    {
        setWindowTitle("LCD window");
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
        // Repaint only when the picture store changed, at most every 20 ms.
        poll_.setInterval(20);
        QObject::connect(&poll_, &QTimer::timeout, this, [this] {
            if (sim_.lcd().modifications() != painted_) {
                update();
            }
        });
        poll_.start();
    }
    std::uint32_t painted() const { return painted_; }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        painted_ = sim_.lcd().modifications();
        if (sim_.lcd().isOpen()) {
            sim_.lcd().copyPixels(reinterpret_cast<std::uint32_t*>(image_.bits()));
        }
        QPainter painter(this);
        Nearest(painter);
        painter.drawImage(rect(), image_);
    }
    void mouseMoveEvent(QMouseEvent* e) override { pointer(e, 0); }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (e->button() == Qt::RightButton) {
            sim_.popupMenu(e->globalPosition().toPoint());
        }
        pointer(e, 0);
    }
    void mouseReleaseEvent(QMouseEvent* e) override { pointer(e, 0); }
    void mouseDoubleClickEvent(QMouseEvent* e) override { pointer(e, 128); }
    void leaveEvent(QEvent*) override { sim_.lcd().setPointer(-1, -1, 0); }

  private:
    void pointer(QMouseEvent* e, std::uint32_t extra)
    {
        const int z = std::max(sim_.zoom(), 1);
        const QPoint p = e->position().toPoint();
        const bool inside = rect().contains(p);
        std::uint32_t buttons = extra;
        buttons |= (e->buttons() & Qt::LeftButton) ? 1U : 0U;
        buttons |= (e->buttons() & Qt::RightButton) ? 2U : 0U;
        buttons |= (e->buttons() & Qt::MiddleButton) ? 4U : 0U;
        sim_.lcd().setPointer(inside ? p.x() / z : -1, inside ? p.y() / z : -1, buttons);
    }

    Simulator& sim_;
    QImage image_;
    QTimer poll_;
    std::uint32_t painted_ = 0xFFFFFFFF;
};

class LogView final : public QWidget {
  public:
    explicit LogView(LogBuffer& log) : log_(log)
    {
        setWindowTitle("Log");
        resize(480, 300);
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        const std::string text = log_.text();
        std::vector<std::string_view> lines;
        std::string_view rest(text);
        for (;;) {
            const std::size_t nl = rest.find('\n');
            lines.push_back(rest.substr(0, nl));
            if (nl == std::string_view::npos) {
                break;
            }
            rest.remove_prefix(nl + 1);
        }
        const QFontMetrics metrics(font());
        int y = height() - metrics.descent() - 2;
        for (auto it = lines.rbegin(); it != lines.rend() && y > 0; ++it, y -= metrics.height()) {
            int x = 4;
            for (const LogBuffer::Segment& s : LogBuffer::segments(*it)) {
                const QString part =
                    QString::fromUtf8(s.text.data(), static_cast<qsizetype>(s.text.size())).remove(QLatin1Char('\r'));
                painter.setPen(s.red ? Qt::red : Qt::black);
                painter.drawText(x, y, part);
                x += metrics.horizontalAdvance(part);
            }
        }
    }

  private:
    LogBuffer& log_;
};

class SysInfoView final : public QWidget {
  public:
    SysInfoView()
    {
        setWindowTitle(QString::asprintf("%s System Info", "LumUISim"));
        setFixedSize(300, 75);
        setAttribute(Qt::WA_DeleteOnClose);
        timer_.setInterval(100);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { update(); });
        timer_.start();
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        // The drawing layer's memory pool: 1000 bytes in at most 32 blocks;
        // the panel allocates nothing from it.
        constexpr int kPoolBytes = 1000;
        QPainter painter(this);
        const int ascent = QFontMetrics(font()).ascent();
        painter.drawText(5, 5 + ascent, "Bytes [Free / Used]:");
        painter.drawText(150, 5 + ascent, QString::asprintf("%d / %d", kPoolBytes, 0));
        painter.drawText(5, 25 + ascent, "Blocks [Free / Used]:");
        painter.drawText(150, 25 + ascent, QString::asprintf("%d / %d", 1, 0));
    }

  private:
    QTimer timer_;
};

class ColorsView final : public QWidget {
  public:
    ColorsView()
    {
        setWindowTitle(QString::asprintf("Colors #%d", 0));
        setMinimumSize(220, 90);
        timer_.setInterval(100);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] { update(); });
        timer_.start();
    }

  protected:
    void paintEvent(QPaintEvent*) override
    {
        // A 24-bit display has no palette: its colours are the backlight's pair
        // and the ends of the grey ramp.
        const std::pair<const char*, std::uint32_t> colours[] = {
            {"on", HAL_LcdOnColor()}, {"off", HAL_LcdOffColor()}, {"black", 0x000000}, {"white", 0xFFFFFF}};
        QPainter painter(this);
        int x = 5;
        for (const auto& [name, rgb] : colours) {
            painter.fillRect(x, 5, 44, 44, QColor::fromRgb(rgb));
            painter.setPen(Qt::gray);
            painter.drawRect(x, 5, 44, 44);
            painter.setPen(Qt::black);
            painter.drawText(x, 66, name);
            painter.drawText(x, 82, QString::asprintf("%06X", rgb));
            x += 52;
        }
    }

  private:
    QTimer timer_;
};

class MainFrame final : public QMainWindow {
  protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!e->isAutoRepeat() && sim != nullptr) {
            sim->pcKey(e->key(), true);
        }
    }
    void keyReleaseEvent(QKeyEvent* e) override
    {
        if (!e->isAutoRepeat() && sim != nullptr) {
            sim->pcKey(e->key(), false);
        }
    }
    void closeEvent(QCloseEvent*) override { QCoreApplication::quit(); }

  public:
    Simulator* sim = nullptr;
};

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
    host_ = std::make_unique<DesktopHost>(time_, lcd_, log_, *this, hostOptions);
    runner_ = std::make_unique<AppRunner>(application_, *this);
    runner_->setPauseHook([this](bool paused) { time_.hold(paused); });
    ticker_.setInterval(20);
    QObject::connect(&ticker_, &QTimer::timeout, [this] { tick(); });
}

Simulator::~Simulator()
{
    shutDown();
    time_.stop();
    delete popup_;
    delete device_;
    delete main_;
    delete logWindow_;
    delete sysInfo_;
    delete colors_;
}

void Simulator::shutDown()
{
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    ticker_.stop();
    if (runner_->stop() == AppRunner::Stop::Abandoned || runner_->abandonedRunning()) {
        // A thread that ignored its stop request ends only with the process.
        std::fprintf(stderr, "panel-sim: the application did not stop within 200 ms; ending the process\n");
        std::fflush(nullptr);
        lcd_.close(DesktopHost::OwnsInstanceLock() || lcd_.created());
        ::_exit(exitCode_);
    }
    // The simulator that drew the LCD, or made the object, removes it.
    lcd_.close(DesktopHost::OwnsInstanceLock() || lcd_.created());
}

void Simulator::showBox(const QString& text, const QString& title, bool warning)
{
    std::fprintf(stderr, "%s: %s\n", title.toUtf8().constData(), text.toUtf8().constData());
    if (boxHook) {
        boxHook(text, title, warning);
        return;
    }
    QMessageBox box(warning ? QMessageBox::Warning : QMessageBox::Information, title, text, QMessageBox::Ok,
                    topWindow());
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
        qApp,
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
    if (options_.trace) {
        std::lock_guard<std::mutex> guard(traceMutex);
        std::fputs(text, stderr);
    }
}

void Simulator::beep()
{
    QMetaObject::invokeMethod(
        qApp, [] { QApplication::beep(); }, Qt::QueuedConnection);
}

void Simulator::logChanged()
{
    if (!logDirty_.exchange(true)) {
        QMetaObject::invokeMethod(
            qApp,
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

void Simulator::warning(const char* text)
{
    showBox(QString::fromUtf8(text), "LumUISim", true);
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
    if (!lcd_.create(mapName, kLcdWidth, kLcdHeight, error)) {
        std::fprintf(stderr, "panel-sim: %s\n", error.c_str());
        showBox("Could not alloc Server data ...", "LumUISim", true);
        exitCode_ = 1;
        return false;
    }
    buildActions();
    int zoom = options_.zoom;
    if (zoom == 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QSize device =
            options_.frame ? QSize(kLcdWidth + 250, kLcdHeight + 150) : QSize(rest_.width, rest_.height);
        zoom = screen == nullptr ? 1
                                 : DefaultZoom(device.width(), device.height(), screen->availableGeometry().width(),
                                               screen->availableGeometry().height(), screen->physicalDotsPerInch(),
                                               screen->devicePixelRatio());
    }
    zoom_ = zoom;
    if (options_.frame) {
        buildFrameLayout();
    } else {
        buildDeviceLayout();
    }
    topWindow()->show();
    return true;
}

void Simulator::startApplication()
{
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
    ticker_.start();
}

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
    auto add = [this](int id, const QString& text, const QKeySequence& key = {}) {
        auto* a = new QAction(text, actionOwner_.get());
        a->setData(id);
        a->setObjectName(QString::number(id));
        if (!key.isEmpty()) {
            a->setShortcut(key);
            a->setShortcutContext(Qt::WindowShortcut);
        }
        QObject::connect(a, &QAction::triggered, [this, id] { command(id); });
        actions_[id] = a;
        return a;
    };
    add(CMD_PAUSE, "Pause Application", QKeySequence(Qt::Key_F4));
    add(CMD_RESUME, "Resume Application", QKeySequence(Qt::Key_F5));
    add(CMD_SYSINFO, "&View system info");
    add(CMD_EXIT, "E&xit");
    add(CMD_COPY, "Copy to clipboard");
    add(CMD_SAVE_PNG, "Save LCD as PNG...");
    add(CMD_LOG, "Log");
    add(CMD_ABOUT, "&About ...");
    add(CMD_RESTART, "Restart Application", QKeySequence(Qt::Key_F3));
    for (int i = 0; i < 6; ++i) {
        add(CMD_LAYER0 + i, QString("Layer &%1").arg(i));
        add(CMD_COLORS0 + i, QString("Layer &%1").arg(i));
    }
    for (int z = 1; z <= 4; ++z) {
        QAction* a = add(CMD_ZOOM1 + z - 1, QString("Zoom &%1x").arg(z));
        a->setCheckable(true);
    }
    // The menus show the key beside the text; Alt+F4 belongs to the window manager.
    action(CMD_PAUSE)->setText("Pause Application\tF4");
    action(CMD_RESUME)->setText("Resume Application\tF5");
    action(CMD_EXIT)->setText("E&xit\tALT-F4");

    popup_ = new QMenu;
    for (int id : {int(CMD_PAUSE), int(CMD_RESUME), int(CMD_SYSINFO), int(CMD_COPY), int(CMD_SAVE_PNG), int(CMD_LOG)}) {
        popup_->addAction(action(id));
    }
    QMenu* zoomMenu = popup_->addMenu("&Zoom");
    for (int z = 0; z < 4; ++z) {
        zoomMenu->addAction(action(CMD_ZOOM1 + z));
    }
    popup_->addSeparator();
    popup_->addAction(action(CMD_ABOUT));
    popup_->addAction(action(CMD_EXIT));
    QObject::connect(popup_, &QMenu::aboutToShow, [this] { updateMenus(); });
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
    for (int z = 1; z <= 4; ++z) {
        action(CMD_ZOOM1 + z - 1)->setChecked(z == zoom_);
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
    for (const auto& entry : actions_) {
        device->addAction(entry.second); // the accelerators
    }
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
    auto* frame = new MainFrame;
    frame->sim = this;
    main_ = frame;
    frame->setWindowTitle("LumUI Simulation");
    QMenu* file = frame->menuBar()->addMenu("&File");
    for (int id : {int(CMD_PAUSE), int(CMD_RESUME), int(CMD_SYSINFO), int(CMD_COPY), int(CMD_SAVE_PNG)}) {
        file->addAction(action(id));
    }
    file->addSeparator();
    file->addAction(action(CMD_EXIT));
    QMenu* view = frame->menuBar()->addMenu("&View");
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
    for (QMenu* m : {file, view, layers, colours}) {
        QObject::connect(m, &QMenu::aboutToShow, [this] { updateMenus(); });
    }
    frame->addAction(action(CMD_RESTART));
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
    zoom_ = std::clamp(zoom, 1, 4);
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

std::vector<std::uint32_t> Simulator::lcdPixels() const
{
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(kLcdWidth) * kLcdHeight);
    if (lcd_.isOpen()) {
        lcd_.copyPixels(rgb.data());
    }
    return rgb;
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
        break;
    case CMD_RESUME:
        runner_->resume();
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
    const QString title = expectedTitle();
    if (title != title_ && topWindow() != nullptr) {
        title_ = title;
        topWindow()->setWindowTitle(title);
    }
    maybeGrab();
}

void Simulator::maybeGrab()
{
    if (options_.grab.empty() || grabbed_ || device_ == nullptr || lcd_.modifications() == 0) {
        return;
    }
    const std::vector<std::uint32_t> rgb = lcdPixels();
    if (std::all_of(rgb.begin(), rgb.end(), [&](std::uint32_t c) { return c == rgb[0]; })) {
        return;
    }
    lcdWindow_->repaint();
    QPixmap shot = device_->grab();
    shot.setMask(Mask(rest_, QRect(0, 0, rest_.width, rest_.height), zoom_));
    grabbed_ = shot.save(QString::fromStdString(options_.grab), "PNG");
    std::fprintf(stderr, "panel-sim: %s %s\n", grabbed_ ? "saved" : "cannot write", options_.grab.c_str());
    grabbed_ = true;
}

int Simulator::PanelKeyOfPcKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Up:
        return KEY_UP;
    case Qt::Key_Down:
        return KEY_DOWN;
    case Qt::Key_Left:
        return KEY_LEFT;
    case Qt::Key_Right:
        return KEY_RIGHT;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return KEY_OK;
    case Qt::Key_Backspace:
    case Qt::Key_Escape:
        return KEY_BACK;
    case Qt::Key_M:
        return KEY_MENU;
    case Qt::Key_H:
    case Qt::Key_F1:
        return KEY_HELP;
    default:
        return -1;
    }
}

void Simulator::pcKey(int qtKey, bool pressed)
{
    const int key = options_.keyboard ? PanelKeyOfPcKey(qtKey) : -1;
    if (key >= 0) {
        host_->keys().setLogicalKey(static_cast<std::uint8_t>(key), pressed);
    }
}
