#include "app/QtMessageService.h"
#include "app/QuavApplication.h"

#include <QMainWindow>

int main(int argc, char** argv)
{
    QtMessageService messages;
    QuavApplication app(argc, argv, &messages);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("QuavScheduler"));
    window.resize(617, 461);
    window.show();
    return app.exec() == 0 ? 0 : 0;
}
