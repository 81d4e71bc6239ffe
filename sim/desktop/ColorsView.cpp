#include "sim/desktop/ColorsView.h"

#include <QPainter>
#include <cstdint>
#include <utility>

#include "hal/HAL.h"

ColorsView::ColorsView()
{
    setWindowTitle(QString::asprintf("Colors #%d", 0));
    setMinimumSize(220, 90);
    timer_.setInterval(100);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { update(); });
    timer_.start();
}

void ColorsView::paintEvent(QPaintEvent*)
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
