#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where a window stored on a screen that is gone, or far off every screen, must go.
namespace WindowPlacement {

// The top-left the window's frame should take: its own when a good part of its title strip lies
// on some screen, else moved onto the screen it overlaps most (the first one when none) as
// little as possible. `screens` are the screens' usable areas, the primary first.
QPoint ontoScreens(const QRect& frame, const QList<QRect>& screens);

} // namespace WindowPlacement
