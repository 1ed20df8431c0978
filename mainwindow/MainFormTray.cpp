// The notification-area icon and the window's hiding in it.
#include "mainwindow/schedule.h"

#include "controls/ResourceIcon.h"
#include "controls/TrayIcon.h"
#include "platform/Failure.h"

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QWindowStateChangeEvent>

void TMainForm::buildTrayIcon()
{
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    Restore1 = PopupMenu2->addAction(QStringLiteral("ウィンドウを元に戻す(&R)"));
    Restore1->setObjectName(QStringLiteral("Restore1"));
    QFont bold = Restore1->font();
    bold.setBold(true);
    Restore1->setFont(bold);
    PopupMenu2->setDefaultAction(Restore1);
    connect(Restore1, &QAction::triggered, this, &TMainForm::Restore1Click);
    PopupMenu2->addSeparator()->setObjectName(QStringLiteral("N7"));
    Exit2 = PopupMenu2->addAction(QStringLiteral("終了(&X)"));
    Exit2->setObjectName(QStringLiteral("Exit2"));
    connect(Exit2, &QAction::triggered, this, &TMainForm::Exit1Click);

    if (!m_env.notificationArea)
        return;
    TrayIcon = new TTrayIcon(*m_env.notificationArea, this);
    TrayIcon->setObjectName(QStringLiteral("TrayIcon"));
    TrayIcon->BeginLoading();
    TrayIcon->setIcon(resourceIcon(QStringLiteral(":/icons/app16.png")));
    TrayIcon->setRBPopupMenu(PopupMenu2);
    TrayIcon->setTipHelp(QStringLiteral("QuavScheduler"));
    TrayIcon->setVisible(true);
    TrayIcon->OnClick = [this](TTrayIcon&) { Restore1Click(); };
    TrayIcon->OnDblClick = [this](TTrayIcon&) { Restore1Click(); };
    // A window hidden in a notification area that went away must stay reachable.
    connect(TrayIcon, &TTrayIcon::shownChanged, this, [this](bool shown) {
        if (!shown && isHidden() && !m_waitingForEditor)
            showMinimized();
    });
    try {
        TrayIcon->Loaded();
    } catch (const EQuavError& failure) {
        // Without the icon the program still runs; minimising then minimises.
        reportFailure(failure.message());
    }
}

bool TMainForm::hidesInTray() const
{
    return TrayIcon && TrayIcon->Shown();
}

void TMainForm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMinimized) ||
        !hidesInTray())
        return;
    m_stateBeforeMinimise = static_cast<QWindowStateChangeEvent*>(event)->oldState() & ~Qt::WindowMinimized;
    // Hide once the platform has finished minimising, or it may show the window again.
    QTimer::singleShot(0, this, [this] {
        if (windowState() & Qt::WindowMinimized)
            hide();
    });
}

void TMainForm::Restore1Click()
{
    if (m_waitingForEditor)
        return;
    if (isMinimized() || isHidden())
        setWindowState(m_stateBeforeMinimise);
    show();
    raise();
    activateWindow();
    // A dialog left open behind the tray comes forward with the window, or the window would
    // show but take no input.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        modal->show();
        modal->raise();
        modal->activateWindow();
    }
}
