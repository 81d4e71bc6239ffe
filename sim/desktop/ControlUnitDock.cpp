// The control unit's window: the plant values to set while the panel runs.
// Every change goes to the application thread as a scenario line would
// (`plant-set`), so that a recorded session replays it.
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>
#include <map>
#include <sstream>

#include "data/TXT_Generated.h"
#include "screens/base/BSD.h"
#include "sim/ControlUnit.h"
#include "sim/PlantControl.h"
#include "sim/PlantFile.h"
#include "sim/desktop/Simulator.h"
#include "sim/headless/Words.h"

namespace {

// Headings before the first field of each group.
const std::map<std::string, const char*> kGroups = {
    {"boiler", "Temperatures"},          {"sensor-outdoor", "Sensor faults"}, {"burner", "Burner and pumps"},
    {"fault", "Faults and maintenance"}, {"calibration", "Burner control"},   {"plant-state", "Plant"},
};

class ControlUnitDock final : public QDockWidget {
  public:
    explicit ControlUnitDock(Simulator& sim) : QDockWidget("Control unit"), sim_(sim)
    {
        setObjectName("ControlUnitDock");
        auto* body = new QWidget;
        auto* column = new QVBoxLayout(body);
        connected_ = new QCheckBox("Connected to the panel's bus");
        QObject::connect(connected_, &QCheckBox::clicked, [this] { sim_.command(CMD_UNIT); });
        column->addWidget(connected_);
        auto* files = new QHBoxLayout;
        auto* load = new QPushButton("Load plant file...");
        auto* save = new QPushButton("Save plant file...");
        QObject::connect(load, &QPushButton::clicked, [this] { sim_.command(CMD_PLANT_LOAD); });
        QObject::connect(save, &QPushButton::clicked, [this] { sim_.command(CMD_PLANT_SAVE); });
        files->addWidget(load);
        files->addWidget(save);
        column->addLayout(files);
        auto* form = new QFormLayout;
        form->setVerticalSpacing(2);
        for (const PlantField& f : PlantFields()) {
            const auto group = kGroups.find(f.name);
            if (group != kGroups.end()) {
                auto* heading = new QLabel(QString("<b>%1</b>").arg(group->second));
                form->addRow(heading);
            }
            QWidget* editor = makeEditor(f);
            editor->setObjectName(f.name);
            editors_.emplace_back(&f, editor);
            form->addRow(f.label, editor);
        }
        column->addLayout(form);
        column->addWidget(new QLabel("<b>Status telegram</b> (20 bytes, hexadecimal)"));
        auto* raw = new QHBoxLayout;
        rawStatus_ = new QLineEdit;
        rawStatus_->setObjectName("status");
        auto* send = new QPushButton("Send");
        QObject::connect(send, &QPushButton::clicked, [this] { sendRawStatus(); });
        QObject::connect(rawStatus_, &QLineEdit::returnPressed, [this] { sendRawStatus(); });
        raw->addWidget(rawStatus_);
        raw->addWidget(send);
        column->addLayout(raw);
        note_ = new QLabel;
        note_->setWordWrap(true);
        column->addWidget(note_);
        column->addStretch();
        auto* scroll = new QScrollArea;
        scroll->setWidget(body);
        scroll->setWidgetResizable(true);
        scroll->setMinimumWidth(body->sizeHint().width() + 24);
        setWidget(scroll);
        sim_.watch().want(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] { refresh(); });
        timer_.start(200);
        refresh();
    }
    ~ControlUnitDock() override { sim_.watch().want(false); }
    ControlUnitDock(const ControlUnitDock&) = delete;
    ControlUnitDock& operator=(const ControlUnitDock&) = delete;

  private:
    QWidget* makeEditor(const PlantField& f)
    {
        const std::string name = f.name;
        if (name == "fault-component") {
            auto* box = new QComboBox;
            for (int c = 0; c < kPlantFaultComponents; ++c) {
                box->addItem(QString("%1  %2").arg(c, 2).arg(
                    QString::fromUtf8(TXT_GERMAN[BSD_FaultTextId(static_cast<std::uint8_t>(c))])));
            }
            QObject::connect(box, &QComboBox::activated, [this, &f](int i) { change(f, i); });
            return box;
        }
        switch (f.kind) {
        case PlantKind::Flag: {
            auto* box = new QCheckBox;
            QObject::connect(box, &QCheckBox::clicked, [this, &f](bool on) { change(f, on ? 1 : 0); });
            return box;
        }
        case PlantKind::Choice: {
            auto* box = new QComboBox;
            std::stringstream names(f.choices);
            for (std::string c; std::getline(names, c, '|');) {
                box->addItem(QString::fromStdString(c));
            }
            QObject::connect(box, &QComboBox::activated, [this, &f](int i) { change(f, i); });
            return box;
        }
        case PlantKind::Celsius:
        case PlantKind::Number:
            break;
        }
        auto* spin = new QSpinBox;
        spin->setRange(f.min, f.max);
        spin->setKeyboardTracking(false); // a value once typed, not each digit
        if (f.kind == PlantKind::Celsius) {
            spin->setSuffix(" °C");
        }
        if (name == "fault") {
            spin->setDisplayIntegerBase(16);
            spin->setPrefix("0x");
            spin->setSpecialValueText("none");
        }
        QObject::connect(spin, &QSpinBox::valueChanged, [this, &f](int v) { change(f, v); });
        return spin;
    }

    void change(const PlantField& f, int value)
    {
        if (syncing_) {
            return;
        }
        sim_.unitInput([&f, value](ControlUnit& unit) { PlantSet(unit, f, value); },
                       std::string("plant-set ") + f.name + " " + std::to_string(value));
        sim_.watch().askNow();
    }

    void sendRawStatus()
    {
        std::stringstream words(rawStatus_->text().toStdString());
        std::vector<std::uint8_t> bytes;
        std::string record = "send-status";
        for (std::string w; words >> w;) {
            const auto b = WholeNumber(w, 16, 255);
            if (!b || bytes.size() == DAT_STATUS_BLOCK_SIZE) {
                note_->setText(QString("Not a status telegram: up to 20 hexadecimal bytes such as 84 00 64"));
                return;
            }
            bytes.push_back(static_cast<std::uint8_t>(*b));
            record += " " + w;
        }
        if (bytes.empty()) {
            return;
        }
        sim_.unitInput([bytes](ControlUnit& unit) { unit.sendStatus(bytes); }, record);
        sim_.watch().askNow();
    }

    void refresh()
    {
        connected_->setChecked(sim_.unitConnected());
        StateSnapshot s;
        if (!sim_.watch().latest(serial_, s)) {
            return;
        }
        serial_ = s.serial;
        if (!s.plant) {
            note_->setText("Not connected: a change connects the control unit, which starts from the panel's plant.");
            return;
        }
        note_->setText(QString("The plant at %1 ms of panel time.").arg(s.ms));
        syncing_ = true;
        for (auto& [f, editor] : editors_) {
            if (editor->hasFocus()) {
                continue; // the user is typing there
            }
            const int v = f->get(*s.plant);
            if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
                spin->setValue(v);
            } else if (auto* check = qobject_cast<QCheckBox*>(editor)) {
                check->setChecked(v != 0);
            } else if (auto* box = qobject_cast<QComboBox*>(editor)) {
                box->setCurrentIndex(v < box->count() ? v : -1);
            }
        }
        if (!rawStatus_->hasFocus()) {
            QString hex;
            for (std::uint8_t b : s.plant->status) {
                hex += QString::asprintf("%02X ", b);
            }
            rawStatus_->setText(hex.trimmed());
        }
        syncing_ = false;
    }

    Simulator& sim_;
    QCheckBox* connected_ = nullptr;
    QLineEdit* rawStatus_ = nullptr;
    QLabel* note_ = nullptr;
    std::vector<std::pair<const PlantField*, QWidget*>> editors_;
    QTimer timer_;
    std::uint64_t serial_ = 0;
    bool syncing_ = false;
};

} // namespace

void Simulator::unitInput(std::function<void(ControlUnit&)> apply, std::string record)
{
    if (!unitOn_) {
        connectUnit(true);
    }
    input(
        [this, apply = std::move(apply)] {
            if (unit_) {
                apply(*unit_);
            }
        },
        std::move(record));
}

void Simulator::startPlant()
{
    std::string text;
    std::string error;
    if (!PlantFileRead(options_.plant, text, error)) {
        host_->log(std::string(1, LogBuffer::kRed) + error);
        return;
    }
    unitOn_ = true;
    updateMenus();
    input([this, text] { takeStartPlant(text); }, {});
}

void Simulator::takeStartPlant(const std::string& text)
{
    if (clock_.now() < kPlantStartMs) {
        clock_.post([this, text] { takeStartPlant(text); });
        return;
    }
    if (!unit_) {
        unit_ = std::make_shared<ControlUnit>();
    }
    std::string ignored; // checked with the options
    PlantFileApply(options_.plant, text, unit_->model(), ignored);
    PlantSendStatus(*unit_);
    unit_->announce(0x7FFF);
    clock_.setRound([this] { unit_->round(); }, 100);
}

void Simulator::openUnitWindow()
{
    if (unitWindow_ == nullptr) {
        unitWindow_ = new ControlUnitDock(*this);
        if (main_ != nullptr) {
            main_->addDockWidget(Qt::RightDockWidgetArea, unitWindow_);
        } else if (device_ != nullptr) {
            unitWindow_->move(device_->frameGeometry().topRight() + QPoint(10, 0));
            unitWindow_->resize(unitWindow_->sizeHint().width(), device_->height());
        }
    }
    unitWindow_->show();
    unitWindow_->raise();
}
