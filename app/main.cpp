#include "app/QtMessageService.h"
#include "app/QuavApplication.h"
#include "app/SessionEnd.h"
#include "controls/DialogRunner.h"
#include "controls/QtNotificationArea.h"
#include "mainwindow/OptionDialogs.h"
#include "schedule/AppPaths.h"
#include "mainwindow/schedule.h"
#include "monthview/SomeMonthViewUnit.h"
#include "platform/InstanceMarker.h"

#include <QMessageBox>

int main(int argc, char** argv)
{
    QtMessageService messages;
    QuavApplication app(argc, argv, &messages);

    InstanceMarker marker(InstanceMarker::programFileName());
    switch (marker.acquire()) {
    case InstanceMarker::Result::AlreadyRunning:
        marker.activateRunning(2000);
        return 0;
    case InstanceMarker::Result::Failed:
        QMessageBox::information(nullptr, QStringLiteral("QuavScheduler"),
                                 QStringLiteral("プログラムを起動できません"));
        return 0;
    case InstanceMarker::Result::Acquired:
        break;
    }

    const AppPaths paths = AppPaths::forProgram(QCoreApplication::applicationDirPath());
    MainFormEnv env;
    env.iniPath = paths.iniPath;
    env.defaultDataFolder = paths.dataFolder;
    env.messages = &messages;
    QtNotificationArea notificationArea;
    env.notificationArea = &notificationArea;

    TMainForm mainForm(env);
    messages.setOwner(&mainForm);
    // The settings dialog and the three option dialogs, once for the whole run.
    OptionDialogs dialogs(DialogRunner::modal(), &mainForm);
    mainForm.setOptionDialogs(&dialogs);
    QObject::connect(&marker, &InstanceMarker::activationRequested, &mainForm, &TMainForm::Restore1Click);
    // Created hidden, after the main window (its start-up reads it); the dialogs go before it.
    TSomeMonthViewForm monthView(mainForm.monthViewSource(), messages);
    mainForm.setMonthView(&monthView);
    SessionEnd::install(app, mainForm);
    QObject::connect(&mainForm, &TMainForm::closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    mainForm.show();
    app.exec();
    SessionEnd::uninstall();
    marker.release();
    return 0;
}
