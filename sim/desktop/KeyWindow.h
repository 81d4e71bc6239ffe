// The device's keys on the desktop: a window over each key region that holds
// its key while the left button is down, and the PC keyboard's keys that
// stand for panel keys (option --keyboard).
#pragma once

#include <QImage>
#include <QRect>
#include <QWidget>

class QKeyEvent;
class Simulator;

class KeyWindow final : public QWidget {
  public:
    // `rest` and `pressed`: the whole device pictures; the window shows its region of them.
    KeyWindow(Simulator& sim, int index, const QImage& rest, const QImage& pressed, QWidget* parent);
    // Places and shapes the window over its region at a zoom.
    void place(int zoom);

  protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

  private:
    Simulator& sim_;
    int index_;
    const QImage& rest_;
    const QImage& pressed_;
    QRect area_;
};

// The panel key (KEY_UP ... KEY_HELP) of a PC key (Qt::Key), or -1.
int PanelKeyOfPcKey(int qtKey);
// A key event of a window that hands PC keys to the panel; the keyboard's
// own repeats are dropped (the panel's key task repeats by itself).
void ForwardPcKey(Simulator& sim, const QKeyEvent& e, bool pressed);
