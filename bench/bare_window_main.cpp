// The bare window as a program of its own, for timing from the X server's side against the real
// program (bench/xvfb_timing.sh). Usage: bench_bare_window [DATA_FOLDER [yyyy-mm-dd]]; the
// folder defaults to the program's own, as the real program's data folder does, and the date to
// today. A click on the calendar runs its date change.
#include "BareWindow.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    const QString folder = args.value(1, QCoreApplication::applicationDirPath());
    const QDate date = args.size() > 2 ? QDate::fromString(args[2], Qt::ISODate) : QDate::currentDate();
    if (!date.isValid())
        return 2;
    BareWindow window(folder, date);
    window.show();
    return app.exec();
}
