#pragma once

#include <QByteArray>
#include <QMetaProperty>
#include <QString>

struct TComponentClass;
class QWidget;

// The parts of a component image its writer and reader share (the layout is in ComponentImage.h).
namespace ComponentImageFormat {

inline const QByteArray kSignature = QByteArrayLiteral("TPF0");
// Pseudo-properties: the control's own hidden switch and its box layout.
inline const QString kHidden = QStringLiteral("@Hidden");
inline const QString kLayout = QStringLiteral("@Layout");

constexpr quint8 kEnd = 0;
constexpr quint8 kChild = 1;
// Nesting and size limits that no real window reaches; they keep hostile images from exhausting
// the stack or the window system.
constexpr int kMaxDepth = 64;
constexpr int kMaxComponents = 4096;
constexpr int kMaxLayoutDepth = 16;

enum class LayoutItemType : quint8 { Widget = 1, Spacer = 2, Layout = 3 };

// The properties an image carries for a control of the class: written, and read back without
// complaint; any other property in an image is damage.
bool isStoredProperty(const TComponentClass& cls, const QMetaProperty& p);
// Hidden by its own switch, not only by a hidden parent.
bool explicitlyHidden(const QWidget* w);

} // namespace ComponentImageFormat
