// The system-info window: the drawing layer's memory-pool figures.
#pragma once

#include <QTimer>
#include <QWidget>

class SysInfoView final : public QWidget {
  public:
    SysInfoView();

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QTimer timer_;
};
