#pragma once

#include <QIcon>
#include <QString>

// An icon from the program's resources with its larger forms when there are any: "name@2x.png"
// for 2x and "name@24.png" (24 pixels) for 1.5x beside "name.png", whatever the screens' scale
// at start, so a window moved later to a screen at 1.5x or 2x still gets sharp pixels.
QIcon resourceIcon(const QString& path);
