// The log window: the log buffer's lines, bottom-aligned, marked segments red.
#pragma once

#include <QWidget>

class LogBuffer;

class LogView final : public QWidget {
  public:
    explicit LogView(LogBuffer& log);

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    LogBuffer& log_;
};
