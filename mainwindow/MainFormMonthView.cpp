// The three-month view command: its menu entry, its tool button and its handler.
#include "mainwindow/schedule.h"

#include "mainwindow/MonthViewLink.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

void TMainForm::addMonthViewCommands()
{
    ViewMonthsForm = new QAction(QStringLiteral("３ヶ月表示(&V)..."), this);
    ViewMonthsForm->setObjectName(QStringLiteral("ViewMonthsForm"));
    Show1->addSeparator();
    Show1->addAction(ViewMonthsForm);
    Show1->addSeparator();

    // No icon: the button shows its caption.
    ToolButton3MonthView = new QAction(QStringLiteral("3Months"), this);
    ToolButton3MonthView->setObjectName(QStringLiteral("ToolButton3MonthView"));
    ToolButton3MonthView->setToolTip(QStringLiteral("３ヶ月表示"));
    ToolButton3MonthView->setStatusTip(QStringLiteral("３ヶ月表示"));
    ToolBar1->addAction(ToolButton3MonthView);

    for (QAction* action : {ViewMonthsForm, ToolButton3MonthView})
        connect(action, &QAction::triggered, this, [this] { runCommand(&TMainForm::ViewMonthsFormClick); });
}

void TMainForm::ViewMonthsFormClick()
{
    // The view reads the month files, so the selected month's edits go to its file first.
    SaveMonth();
    if (!m_monthView)
        return;
    m_monthView->RefreshMonths();
    m_monthView->ShowMonths();
}
