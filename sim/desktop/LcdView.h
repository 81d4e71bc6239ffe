// The LCD window: paints the shared picture store when its modification
// counter moved (polled every 20 ms) and stores the pointer over it in
// LCD pixels.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <cstdint>

class Simulator;

class LcdView final : public QWidget {
  public:
    LcdView(Simulator& sim, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void leaveEvent(QEvent*) override;

  private:
    void pointer(QMouseEvent* e, std::uint32_t extra);

    Simulator& sim_;
    QImage image_;
    QTimer poll_;
    std::uint32_t painted_ = 0xFFFFFFFF;
};
