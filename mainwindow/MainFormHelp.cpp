// The Help menu and the about box.
#include "mainwindow/schedule.h"

#include "controls/About.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void TMainForm::addHelpMenu()
{
    Help1 = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    Help1->setObjectName(QStringLiteral("Help1"));
    About1 = new QAction(QStringLiteral("バージョン情報(&A)..."), this);
    About1->setObjectName(QStringLiteral("About1"));
    About1->setStatusTip(QStringLiteral("プログラム情報、バージョン、著作権を表示します。"));
    About1->setToolTip(About1->statusTip());
    Help1->addAction(About1);
    connect(About1, &QAction::triggered, this, [this] { runCommand(&TMainForm::About1Click); });
}

void TMainForm::About1Click()
{
    // Built for this one showing and gone when it closes.
    TAboutDlg dialog(m_env.urlOpener, this);
    dialog.exec();
}
