#pragma once

#include <QByteArray>
#include <QtGlobal>

// Whole-file reads for scanning many small files, without the buffering and look-ups of the
// general file classes. Safe to call from any thread.
namespace FileBytes {

// Replaces `out` with the file's bytes; false when the file cannot be opened or read.
bool read(const QByteArray& nativePath, QByteArray& out);

// What the file system says of a file, enough to tell a later rewrite or replacement.
struct Facts {
    qint64 size = 0;
    qint64 mtimeMs = 0;
    qint64 ctimeNs = 0; // moves with every write or rename, and no program can set it back
    quint64 inode = 0;
};

enum class Outcome { Read, Missing, Failed };

// Reads the file through one descriptor: its facts as they were before the bytes were read, then
// the bytes. Missing only when there is no file (a dangling link is Failed); a directory is Failed.
Outcome readWithFacts(const QByteArray& nativePath, QByteArray& out, Facts& facts);
// The file's facts now; Missing when there is none, Failed for a directory or when it cannot tell.
Outcome factsOf(const QByteArray& nativePath, Facts& facts);

} // namespace FileBytes
