// The state view: what the panel does now, as the application thread last
// pictured it, and its latest trace lines.
#include <QDockWidget>
#include <QFontDatabase>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>

#include "sim/desktop/Simulator.h"

namespace {

constexpr std::size_t kShownTraceLines = 40;

class StateView final : public QDockWidget {
  public:
    explicit StateView(Simulator& sim) : QDockWidget("State view"), sim_(sim)
    {
        setObjectName("StateView");
        text_ = new QPlainTextEdit;
        text_->setReadOnly(true);
        text_->setLineWrapMode(QPlainTextEdit::NoWrap);
        text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        setWidget(text_);
        sim_.watch().want(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] { refresh(); });
        timer_.start(200);
    }
    ~StateView() override { sim_.watch().want(false); }
    StateView(const StateView&) = delete;
    StateView& operator=(const StateView&) = delete;

  private:
    void refresh()
    {
        if (sim_.watch().latest(snapshot_.serial, snapshot_) || !shown_) {
            shown_ = true;
            const int scrolled = text_->verticalScrollBar()->value();
            text_->setPlainText(
                QString::fromStdString(StateText(snapshot_, sim_.watch().traceLines(), kShownTraceLines)));
            text_->verticalScrollBar()->setValue(scrolled);
        }
    }

    Simulator& sim_;
    QPlainTextEdit* text_ = nullptr;
    QTimer timer_;
    StateSnapshot snapshot_;
    bool shown_ = false;
};

} // namespace

void Simulator::openStateView()
{
    if (stateView_ == nullptr) {
        stateView_ = new StateView(*this);
        if (main_ != nullptr) {
            main_->addDockWidget(Qt::RightDockWidgetArea, stateView_);
        } else if (device_ != nullptr) {
            stateView_->move(device_->frameGeometry().bottomLeft() + QPoint(0, 10));
            stateView_->resize(720, 420);
        }
    }
    stateView_->show();
    stateView_->raise();
}
