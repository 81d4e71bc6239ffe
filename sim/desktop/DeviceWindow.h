// The device window: the picture at rest, borderless, shaped like the
// device. A left-button drag moves it, a right click opens the menu, PC keys
// go to the panel (--keyboard), closing it ends the host.
#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "sim/desktop/Picture.h"

class Simulator;

class DeviceWindow final : public QWidget {
  public:
    explicit DeviceWindow(Simulator& sim);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent*) override;

  private:
    // The rest picture as an image, made again when the picture changed.
    const QImage& image();

    Simulator& sim_;
    QPoint dragFrom_;
    bool dragging_ = false;
    QImage cache_;
    const Picture* cacheOf_ = nullptr;
    int cacheSize_ = 0;
};
