#include "sim/desktop/QtPicture.h"

#include "sim/desktop/Simulator.h"

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
