#include "mainwindow/WindowPositions.h"

#include <QGuiApplication>

namespace WindowPositions {

bool known()
{
    // Qt tells no capability for this; its Wayland backends all carry the name.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"), Qt::CaseInsensitive);
}

} // namespace WindowPositions
