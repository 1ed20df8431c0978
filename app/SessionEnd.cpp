#include "app/SessionEnd.h"

#include "app/QuavApplication.h"
#include "mainwindow/schedule.h"
#include "platform/CloseSignals.h"

#include <QPointer>
#include <QSessionManager>
#include <QThread>

#include <cstdlib>

namespace {
QPointer<TMainForm> g_form;
CloseSignals* g_signals = nullptr;

void endNow(QuavApplication& app, TMainForm& form)
{
    form.closeUnattended();
    // Leaves every event loop, nested ones of an open dialog too.
    app.exit(0);
}

// exit() from the windowing plugin when the display connection broke.
extern "C" void saveAtExit()
{
    if (!g_form || g_form->closedUnattended() || QThread::currentThread() != g_form->thread())
        return;
    try {
        g_form->closeUnattended();
    } catch (...) {
        // The process is ending; the journal keeps what was typed before the last pause.
    }
}
} // namespace

namespace SessionEnd {

void install(QuavApplication& app, TMainForm& form)
{
    g_form = &form;
    g_signals = new CloseSignals(&app);
    QObject::connect(g_signals, &CloseSignals::closeRequested, &form, [&app, &form] { endNow(app, form); });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form,
                     [&app, &form](QSessionManager&) { endNow(app, form); });
    std::atexit(saveAtExit);
}

void uninstall()
{
    g_form = nullptr;
    delete g_signals;
    g_signals = nullptr;
}

} // namespace SessionEnd
