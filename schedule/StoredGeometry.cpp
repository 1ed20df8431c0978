#include "schedule/StoredGeometry.h"

#include <algorithm>
#include <climits>

namespace StoredGeometry {

QSize usableSize(QSize stored)
{
    return {std::max(stored.width(), kMinWidth), std::max(stored.height(), kMinHeight)};
}

int usablePane(int stored)
{
    return std::max(stored, kMinPane);
}

int usableColWidth(int stored)
{
    return std::max(stored, kMinColWidth);
}

QRect storedFrame(int left, int top, QSize size)
{
    constexpr int kFar = 1 << 24;
    return {std::clamp(left, -kFar, kFar), std::clamp(top, -kFar, kFar), std::clamp(size.width(), 0, kFar),
            std::clamp(size.height(), 0, kFar)};
}

namespace {

// Squared gap between two rectangles, 0 when they touch or overlap; 64-bit so that stored
// positions near the integer limits do not overflow.
qint64 gap(const QRect& a, const QRect& b)
{
    const qint64 dx = std::max<qint64>({0, qint64(b.left()) - a.right(), qint64(a.left()) - b.right()});
    const qint64 dy = std::max<qint64>({0, qint64(b.top()) - a.bottom(), qint64(a.top()) - b.bottom()});
    return dx * dx + dy * dy;
}

qint64 overlap(const QRect& a, const QRect& b)
{
    const QRect shared = a.intersected(b);
    return shared.isEmpty() ? 0 : qint64(shared.width()) * shared.height();
}

bool grabbable(const QRect& frame, const QRect& screen)
{
    const QRect top(frame.left(), frame.top(), frame.width(), std::min(frame.height(), kGrabHeight));
    const QRect shared = top.intersected(screen);
    return shared.width() >= std::min(kGrabWidth, frame.width()) && shared.height() >= top.height();
}

} // namespace

QRect onScreen(const QRect& frame, const QList<QRect>& screens)
{
    if (screens.isEmpty())
        return frame;
    const QRect* nearest = nullptr;
    qint64 best = LLONG_MAX;
    qint64 bestShared = -1;
    for (const QRect& screen : screens) {
        if (grabbable(frame, screen))
            return frame;
        // Of the screens the frame touches, the one holding most of it: the shortest way back.
        const qint64 d = gap(frame, screen);
        const qint64 shared = overlap(frame, screen);
        if (d < best || (d == best && shared > bestShared)) {
            best = d;
            bestShared = shared;
            nearest = &screen;
        }
    }
    const QRect& area = *nearest;
    QRect moved(frame.topLeft(), frame.size().boundedTo(area.size()));
    moved.moveLeft(std::clamp(moved.left(), area.left(), area.right() - moved.width() + 1));
    moved.moveTop(std::clamp(moved.top(), area.top(), area.bottom() - moved.height() + 1));
    return moved;
}

} // namespace StoredGeometry
