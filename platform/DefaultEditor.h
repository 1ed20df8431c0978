#pragma once

#include <QString>
#include <QStringList>

// The external editor used until the user chooses one. Linux has no Windows folder with its
// notepad: take the first installed graphical text editor of a short list of common ones,
// else the desktop's opener.
namespace DefaultEditor {

const QStringList& candidates();
// The arguments that start `editor` on `file`: the editor's own option that keeps it running
// until the user is done with the file, where the editor is known to hand files to a window
// already open and to return at once, then the file.
QStringList arguments(const QString& editor, const QString& file);
// Full path of the first candidate found in `searchPath` (PATH when empty), else of xdg-open,
// else an empty text.
QString path(const QStringList& searchPath = {});

} // namespace DefaultEditor
