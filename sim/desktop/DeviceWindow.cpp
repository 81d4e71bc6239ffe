#include "sim/desktop/DeviceWindow.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include "sim/desktop/KeyWindow.h"
#include "sim/desktop/QtPicture.h"
#include "sim/desktop/Simulator.h"

DeviceWindow::DeviceWindow(Simulator& sim) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), sim_(sim)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setFocusPolicy(Qt::StrongFocus);
}

void DeviceWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Nearest(painter);
    const Picture& p = sim_.restPicture();
    painter.drawImage(QRect(0, 0, p.width * sim_.zoom(), p.height * sim_.zoom()), image());
}

void DeviceWindow::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        dragFrom_ = e->globalPosition().toPoint();
        dragging_ = true;
    } else if (e->button() == Qt::RightButton) {
        sim_.popupMenu(e->globalPosition().toPoint());
    }
}

void DeviceWindow::mouseMoveEvent(QMouseEvent* e)
{
    if (dragging_) {
        const QPoint now = e->globalPosition().toPoint();
        move(pos() + now - dragFrom_);
        dragFrom_ = now;
    }
}

void DeviceWindow::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton) {
        dragging_ = false;
    }
}

void DeviceWindow::keyPressEvent(QKeyEvent* e)
{
    ForwardPcKey(sim_, *e, true);
}

void DeviceWindow::keyReleaseEvent(QKeyEvent* e)
{
    ForwardPcKey(sim_, *e, false);
}

void DeviceWindow::closeEvent(QCloseEvent*)
{
    QCoreApplication::quit();
}

const QImage& DeviceWindow::image()
{
    if (cache_.isNull() || cacheOf_ != &sim_.restPicture() || cacheSize_ != sim_.restPicture().width) {
        cache_ = ToImage(sim_.restPicture());
        cacheOf_ = &sim_.restPicture();
        cacheSize_ = sim_.restPicture().width;
    }
    return cache_;
}
