#include "sim/desktop/LcdView.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "sim/desktop/QtPicture.h"
#include "sim/desktop/Simulator.h"

LcdView::LcdView(Simulator& sim, QWidget* parent)
    : QWidget(parent), sim_(sim), image_(Simulator::kLcdWidth, Simulator::kLcdHeight, QImage::Format_RGB32)
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

void LcdView::paintEvent(QPaintEvent*)
{
    painted_ = sim_.lcd().modifications();
    if (sim_.lcd().isOpen()) {
        sim_.lcd().copyPixels(reinterpret_cast<std::uint32_t*>(image_.bits()));
    }
    QPainter painter(this);
    Nearest(painter);
    painter.drawImage(rect(), image_);
}

void LcdView::mouseMoveEvent(QMouseEvent* e)
{
    pointer(e, 0);
}

void LcdView::mousePressEvent(QMouseEvent* e)
{
    if (e->button() == Qt::RightButton) {
        sim_.popupMenu(e->globalPosition().toPoint());
    }
    pointer(e, 0);
}

void LcdView::mouseReleaseEvent(QMouseEvent* e)
{
    pointer(e, 0);
}

void LcdView::mouseDoubleClickEvent(QMouseEvent* e)
{
    pointer(e, 128);
}

void LcdView::leaveEvent(QEvent*)
{
    sim_.lcd().setPointer(-1, -1, 0);
}

void LcdView::pointer(QMouseEvent* e, std::uint32_t extra)
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
