#include <QApplication>

#include <gtest/gtest.h>

// Every test binary gets an application object so widget tests and clipboard tests can run.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QuavScheduler"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
