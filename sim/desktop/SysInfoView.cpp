#include "sim/desktop/SysInfoView.h"

#include <QPainter>

SysInfoView::SysInfoView()
{
    setWindowTitle(QString::asprintf("%s System Info", "LumUISim"));
    setFixedSize(300, 75);
    setAttribute(Qt::WA_DeleteOnClose);
    timer_.setInterval(100);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { update(); });
    timer_.start();
}

void SysInfoView::paintEvent(QPaintEvent*)
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
