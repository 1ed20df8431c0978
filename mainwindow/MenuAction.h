#pragma once

#include <QAction>
#include <QString>

// A menu or tool entry whose hint is both its tool tip and its status text.
inline QAction* makeAction(const QString& name, const QString& caption, const QString& hint, QObject* parent)
{
    auto* action = new QAction(caption, parent);
    action->setObjectName(name);
    action->setStatusTip(hint);
    action->setToolTip(hint);
    return action;
}
