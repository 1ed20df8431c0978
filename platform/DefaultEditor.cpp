#include "platform/DefaultEditor.h"

#include <QFileInfo>
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

namespace {
struct StayOption {
    const char* program;
    const char* option;
};
// Each editor's own way to stay until its window is closed instead of passing the file to a
// running instance. Editors missing here either stay anyway or are caught by the caller's
// check for an editor that returned at once.
constexpr StayOption kStayOptions[] = {
    {"gedit", "--wait"},         {"gnome-text-editor", "--standalone"}, {"kate", "--block"},
    {"geany", "--new-instance"}, {"featherpad", "--standalone"},
};
} // namespace

QStringList arguments(const QString& editor, const QString& file)
{
    const QString name = QFileInfo(editor).fileName();
    for (const StayOption& known : kStayOptions) {
        if (name == QLatin1String(known.program))
            return {QLatin1String(known.option), file};
    }
    return {file};
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
