#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The file handed to a program of the platform (the external editor): written in the
// platform's own encoding, UTF-8 without a byte order mark, and read back the same way.
namespace WorkFile {

// Puts a new regular file at `path`, readable and writable by the user alone, made for this
// write only: whatever was there (an old work file, a link planted to another file) is removed
// first and never written through. Throws EInOutError when the file cannot be made or written.
void write(const QString& path, const QByteArray& bytes);

// UTF-8 when the bytes are valid UTF-8 (a byte order mark an editor added is dropped); bytes
// that are not, from an editor that saved in another encoding, go through the data files'
// reading rule.
QString decode(QByteArrayView bytes);

} // namespace WorkFile
