#pragma once

#include "schedule/DayFiles.h"
#include "platform/DiskStamp.h"
#include "platform/FileBytes.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Reading and writing one memo page's file. A page file holds exactly the page's text.
namespace PageFile {

struct Loaded {
    enum class State { Missing, Read, Unreadable };
    State state = State::Missing;
    QString text;       // with every line break as CR LF; empty unless Read
    QString editorText; // the same with every line break as LF, as an editor holds it
    DiskStamp stamp;    // the file as it was just before it was read
    FileBytes::Refusal refusal = FileBytes::Refusal::None; // why an Unreadable file was not read
};

// A page file's bytes as text, line breaks as the file keeps them and as an editor holds them.
struct Texts {
    QString text;       // every line break as CR LF
    QString editorText; // every line break as LF
};
Texts decode(QByteArrayView bytes);
// The text a file holds for an editor's text, whose line breaks are LF.
QString fileText(const QString& editorText);
// The bytes a file holds for an editor's text, using up the text: a large page and its bytes are
// never both held whole where the page goes out as code page 932.
QByteArray fileBytes(QString editorText);

// Never throws: a file that exists but cannot be read, is no regular file or is larger than
// the limit comes back Unreadable.
Loaded load(const QString& path, qint64 limit = DayFiles::kPageSizeLimit);
// Throws EInOutError when the file cannot be written.
void write(const QString& path, const QString& text);
// True when a file was removed; a missing file is no error. Throws EInOutError when an
// existing file cannot be removed.
bool remove(const QString& path);

enum class SaveAction { Keep, Delete, Write };
// What a save does with one page: pages of a date are deleted when empty, pages changed by the
// user are written, and a file that could not be read is left alone until the user edits the
// page.
SaveAction saveAction(bool deleteWhenEmpty, bool textEmpty, bool modified, bool loadFailed);

} // namespace PageFile
