#pragma once

#include "settings/widgets/ComponentValues.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

class QWidget;

// State of a control that is no stored Q_PROPERTY (splitter sizes, grid shape), written as a
// pseudo-property whose name starts with "@" so it never meets a real one.
struct TExtraValue {
    QString name;
    ValueKind kind;
    QVariant value;
};

// One class that images may create.
struct TComponentClass {
    QString name;
    std::function<QWidget*(QWidget* parent)> create;
    // Children of a container are stored with it; those of other controls are their own
    // internals, made again by the constructor.
    bool container = false;
    // Stored properties this class sets through another (a rich editor's text once, as HTML).
    QStringList skipped;
    // Stored child controls in order; empty means the direct child widgets.
    std::function<QList<QWidget*>(QWidget*)> children;
    std::function<QList<TExtraValue>(QWidget*)> saveExtras;
    // Applied after the children exist; throws EFilerError for a value it cannot take.
    std::function<void(QWidget*, const TExtraValue&)> loadExtra;
};

// The classes images may hold: widget panels and frames, labels, plain and rich text editors,
// line editors, group boxes, splitters and the string grid.
const std::vector<TComponentClass>& ComponentClassTable();
// Exact class name match, or null.
const TComponentClass* FindComponentClass(QStringView name);
// The child controls of a container that an image stores.
QList<QWidget*> StoredChildren(const TComponentClass& cls, QWidget* widget);
