#pragma once

#include "settings/widgets/ComponentImageFormat.h"

#include <QBoxLayout>
#include <QList>
#include <QMargins>
#include <QMetaProperty>
#include <QPointer>
#include <QSize>
#include <QSizePolicy>

#include <memory>
#include <vector>

// What a read image becomes beyond the controls themselves: their box layouts, and the
// properties that name other components once the whole tree exists.
namespace ComponentFactory {

struct LayoutSpec;
struct LayoutItemSpec {
    ComponentImageFormat::LayoutItemType type = ComponentImageFormat::LayoutItemType::Widget;
    int child = 0; // the index among the container's stored children
    int stretch = 0;
    int alignment = 0;
    QSize size;
    QSizePolicy::Policy horizontal = QSizePolicy::Minimum;
    QSizePolicy::Policy vertical = QSizePolicy::Minimum;
    std::unique_ptr<LayoutSpec> nested;
};

struct LayoutSpec {
    QBoxLayout::Direction direction = QBoxLayout::TopToBottom;
    int spacing = -1;
    QMargins margins;
    std::vector<LayoutItemSpec> items;
};

// Gives the container the layout, placing each child at most once; a child named twice or out
// of range is damage (EFilerError).
void applyLayout(QWidget* w, const LayoutSpec& plan, const QList<QWidget*>& children);

// A reference property waiting for the component it names.
struct Fixup {
    QPointer<QObject> object;
    QMetaProperty property;
    QString name;
};

// References name components of the new tree first, then those of the owner; a name found
// nowhere, or naming a component of another type, leaves the property as it is.
void resolveReferences(const std::vector<Fixup>& fixups, QWidget* root, QWidget* owner);

} // namespace ComponentFactory
