// Holds an instance marker for the instance marker tests, until it is killed.
#include "platform/InstanceMarker.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    InstanceMarker marker(QString::fromLocal8Bit(argv[1]));
    // Only tells where the lock would be, for tests that change the environment.
    if (argc > 2 && qstrcmp(argv[2], "--where") == 0) {
        std::printf("%s\n", qPrintable(marker.lockFilePath()));
        return 0;
    }
    const InstanceMarker::Result result = marker.acquire();
    const char* word = result == InstanceMarker::Result::Acquired         ? "acquired"
                       : result == InstanceMarker::Result::AlreadyRunning ? "running"
                                                                          : "failed";
    std::printf("%s\n", word);
    std::fflush(stdout);
    if (result != InstanceMarker::Result::Acquired)
        return 1;
    QObject::connect(&marker, &InstanceMarker::activationRequested, [] {
        std::printf("activated\n");
        std::fflush(stdout);
    });
    // Never outlive a test run that died before killing us.
    QTimer::singleShot(5 * 60 * 1000, &app, &QCoreApplication::quit);
    return QCoreApplication::exec();
}
