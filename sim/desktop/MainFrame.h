// The main window of the frame layout (--frame): menus, and the LCD, colours
// and log windows inside; PC keys go to the panel, closing it ends the host.
#pragma once

#include <QMainWindow>

class Simulator;

class MainFrame final : public QMainWindow {
  public:
    explicit MainFrame(Simulator& sim) : sim_(sim) {}

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent*) override;

  private:
    Simulator& sim_;
};
