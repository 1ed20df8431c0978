#include "platform/ProcessRunner.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QList>
#include <QPointer>
#include <QProcess>

namespace ProcessRunner {

namespace {
QList<QPointer<QEventLoop>>& waits()
{
    static QList<QPointer<QEventLoop>> list;
    return list;
}

// A process object that is destroyed kills its program, so one we stopped waiting for is
// kept for the rest of the run; held from a pointer that outlives every static.
void keepRunning(QProcess* process)
{
    static auto* const kept = new QList<QProcess*>;
    process->disconnect();
    kept->append(process);
}
} // namespace

Outcome run(const QString& program, const QStringList& arguments)
{
    if (program.isEmpty())
        return Outcome::NotStarted;
    auto* process = new QProcess;
    process->setProgram(QFileInfo(program).absoluteFilePath());
    process->setArguments(arguments);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);

    QEventLoop loop;
    bool started = true;
    QObject::connect(process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            started = false;
            loop.quit();
        }
    });
    process->start();
    if (process->state() != QProcess::NotRunning || started) {
        waits().append(&loop);
        loop.exec();
        waits().removeAll(&loop);
    }
    if (!started) {
        delete process;
        return Outcome::NotStarted;
    }
    if (process->state() != QProcess::NotRunning) {
        keepRunning(process);
        return Outcome::LeftRunning;
    }
    delete process;
    return Outcome::Ended;
}

bool runAndWait(const QString& program, const QStringList& arguments)
{
    return run(program, arguments) != Outcome::NotStarted;
}

void stopWaiting()
{
    for (const QPointer<QEventLoop>& loop : waits())
        if (loop)
            loop->quit();
}

} // namespace ProcessRunner
