// The colours window of the LCD: the backlight's on and off colours and the
// ends of the grey ramp.
#pragma once

#include <QTimer>
#include <QWidget>

class ColorsView final : public QWidget {
  public:
    ColorsView();

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QTimer timer_;
};
