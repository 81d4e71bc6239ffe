#include "sim/desktop/KeyWindow.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "core/KEY.h"
#include "sim/desktop/Hardkeys.h"
#include "sim/desktop/QtPicture.h"
#include "sim/desktop/Simulator.h"

KeyWindow::KeyWindow(Simulator& sim, int index, const QImage& rest, const QImage& pressed, QWidget* parent)
    : QWidget(parent), sim_(sim), index_(index), rest_(rest), pressed_(pressed)
{
    setWindowTitle("Hardkey");
}

void KeyWindow::place(int zoom)
{
    const SIM_HARDKEY k = SIM_GetHardkey(index_);
    area_ = QRect(k.x0, k.y0, k.x1 - k.x0 + 1, k.y1 - k.y0 + 1);
    setGeometry(area_.x() * zoom, area_.y() * zoom, area_.width() * zoom, area_.height() * zoom);
    setMask(Mask(sim_.pressedPicture(), area_, zoom));
}

void KeyWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Nearest(painter);
    painter.drawImage(rect(), SIM_GetHardkeyState(index_) != 0 ? pressed_ : rest_, area_);
}

void KeyWindow::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        SIM_HardkeyMouse(index_, true); // the widget keeps the mouse until release
        update();
    } else if (e->button() == Qt::RightButton) {
        sim_.popupMenu(e->globalPosition().toPoint());
    }
}

void KeyWindow::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        SIM_HardkeyMouse(index_, false);
        update();
    }
}

int PanelKeyOfPcKey(int qtKey)
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

void ForwardPcKey(Simulator& sim, const QKeyEvent& e, bool pressed)
{
    if (!e.isAutoRepeat()) {
        sim.pcKey(e.key(), pressed);
    }
}
