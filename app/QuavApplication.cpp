#include "app/QuavApplication.h"

#include "app/QtTranslations.h"
#include "controls/FocusReturn.h"

#include "platform/Failure.h"
#include "platform/MessageService.h"
#include "resources/AppId.h"

#include <QMessageBox>

QuavApplication::QuavApplication(int& argc, char** argv, MessageService* messages)
    : QApplication(argc, argv), m_messages(messages)
{
    setApplicationName(QStringLiteral("QuavScheduler"));
    // No display name: Qt would append it to every window title.
    setDesktopFileName(QStringLiteral(QUAV_APP_ID));
    // The program ends through the main window's close sequence only, never because the last
    // visible window (a dialog, while the main window is in the tray) closed.
    setQuitOnLastWindowClosed(false);
    FocusReturn::watch(*this);
    QtTranslations::install(*this);
}

QuavApplication::~QuavApplication() = default;

bool QuavApplication::notify(QObject* receiver, QEvent* event)
{
    // Qt's event dispatch is C++ all the way to here; stopping the exception now keeps it out
    // of the platform's C code and lets the loop carry on with the next event.
    try {
        return QApplication::notify(receiver, event);
    } catch (const EQuavError& failure) {
        reportFailure(failure.message());
    } catch (const std::exception& failure) {
        reportFailure(QString::fromLocal8Bit(failure.what()));
    }
    return false;
}

void QuavApplication::reportFailure(const QString& message)
{
    if (m_messages) {
        m_messages->show(message, MessageService::Icon::Error, MessageService::Buttons::Ok,
                         QStringLiteral("QuavScheduler"));
        return;
    }
    QMessageBox::critical(activeWindow(), QStringLiteral("QuavScheduler"), message);
}
