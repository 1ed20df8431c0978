#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Stored geometry made usable: a window stored off every screen or too small, or a column
// stored at no width, would hide from the user for good.
namespace StoredGeometry {

constexpr int kMinWidth = 320;
constexpr int kMinHeight = 240;
constexpr int kMinPane = 40;     // the grid side and the calendar
constexpr int kMinColWidth = 16; // a grid column
// How much of the window's top edge must lie on a screen for the user to grab it.
constexpr int kGrabWidth = 100;
constexpr int kGrabHeight = 20;

QSize usableSize(QSize stored);
int usablePane(int stored);
int usableColWidth(int stored);

// The stored position and size as a frame; positions far past any screen are pulled in first
// so that the frame's edges stay within integer range.
QRect storedFrame(int left, int top, QSize size);

// The frame as stored when the user can reach its top edge on one of the screens' available
// areas; else moved, and shrunk when larger, onto the nearest of them (of those it overlaps, the
// one holding most of it). No screens: as stored. Every window of the program is placed so.
QRect onScreen(const QRect& frame, const QList<QRect>& screens);

} // namespace StoredGeometry
