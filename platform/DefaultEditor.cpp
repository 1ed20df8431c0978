#include "platform/DefaultEditor.h"

#include <QStandardPaths>

namespace DefaultEditor {

const QStringList& candidates()
{
    static const QStringList list = {QStringLiteral("gnome-text-editor"),
                                     QStringLiteral("gedit"),
                                     QStringLiteral("kate"),
                                     QStringLiteral("kwrite"),
                                     QStringLiteral("mousepad"),
                                     QStringLiteral("pluma"),
                                     QStringLiteral("xed"),
                                     QStringLiteral("featherpad"),
                                     QStringLiteral("leafpad"),
                                     QStringLiteral("geany")};
    return list;
}

QString path(const QStringList& searchPath)
{
    for (const QString& name : candidates()) {
        const QString found = QStandardPaths::findExecutable(name, searchPath);
        if (!found.isEmpty())
            return found;
    }
    return QStandardPaths::findExecutable(QStringLiteral("xdg-open"), searchPath);
}

} // namespace DefaultEditor
