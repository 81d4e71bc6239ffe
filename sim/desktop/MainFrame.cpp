#include "sim/desktop/MainFrame.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "sim/desktop/KeyWindow.h"

void MainFrame::keyPressEvent(QKeyEvent* e)
{
    ForwardPcKey(sim_, *e, true);
}

void MainFrame::keyReleaseEvent(QKeyEvent* e)
{
    ForwardPcKey(sim_, *e, false);
}

void MainFrame::closeEvent(QCloseEvent*)
{
    QCoreApplication::quit();
}
