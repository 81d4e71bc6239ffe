// Device pictures on the screen: as Qt images, as window shapes, painted
// with crisp pixels at every zoom.
#pragma once

#include <QBitmap>
#include <QImage>
#include <QPainter>
#include <QRect>

#include "sim/desktop/Picture.h"

QImage ToImage(const Picture& p);
// Pixels of the picture inside `area` that are not transparent, scaled.
QBitmap Mask(const Picture& p, const QRect& area, int zoom);
void Nearest(QPainter& painter);
