#include "platform/ProcessRunner.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>

namespace ProcessRunner {

bool runAndWait(const QString& program, const QStringList& arguments)
{
    if (program.isEmpty())
        return false;
    QProcess process;
    process.setProgram(QFileInfo(program).absoluteFilePath());
    process.setArguments(arguments);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);

    QEventLoop loop;
    bool started = true;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) {
            started = false;
            loop.quit();
        }
    });
    process.start();
    if (process.state() != QProcess::NotRunning || started)
        loop.exec();
    return started;
}

} // namespace ProcessRunner
