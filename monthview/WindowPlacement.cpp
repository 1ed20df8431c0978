#include "monthview/WindowPlacement.h"

#include <algorithm>

namespace WindowPlacement {

namespace {
// Enough of the title strip to grab the window with the pointer.
constexpr int kStripHeight = 20;
constexpr int kGrabWidth = 50;

qint64 area(const QRect& r)
{
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}
} // namespace

QPoint ontoScreens(const QRect& frame, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return frame.topLeft();
    const QRect strip(frame.left(), frame.top(), frame.width(), std::min(frame.height(), kStripHeight));
    for (const QRect& screen : screens) {
        const QRect seen = screen.intersected(strip);
        if (!seen.isEmpty() && seen.width() >= std::min(strip.width(), kGrabWidth) &&
            seen.height() >= std::min(strip.height(), kStripHeight / 2))
            return frame.topLeft();
    }
    const QRect* target = &screens.first();
    for (const QRect& screen : screens) {
        if (area(screen.intersected(frame)) > area(target->intersected(frame)))
            target = &screen;
    }
    // A window larger than the screen keeps its top-left corner on it.
    const int left = std::max(target->left(), std::min(frame.left(), target->right() + 1 - frame.width()));
    const int top = std::max(target->top(), std::min(frame.top(), target->bottom() + 1 - frame.height()));
    return {left, top};
}

} // namespace WindowPlacement
