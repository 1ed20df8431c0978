#pragma once

#include <QByteArray>
#include <QtGlobal>

// Whole-file reads for scanning many small files, without the buffering and look-ups of the
// general file classes. Safe to call from any thread.
namespace FileBytes {

// Only regular files are read: a pipe or a device could block or never end. Files above the
// limit are refused before anything is read.
inline constexpr qint64 kDefaultLimit = qint64(64) << 20;

// Why a file that exists was not read.
enum class Refusal {
    None,       // an error of the system (no access, an input/output error)
    NotRegular, // a folder, a pipe, a device or a socket
    TooLarge,   // more bytes than the limit
};

// Replaces `out` with the file's bytes; false when the file cannot be opened or read.
bool read(const QByteArray& nativePath, QByteArray& out);
bool read(const QByteArray& nativePath, QByteArray& out, qint64 limit, Refusal* why = nullptr);

// What the file system says of a file, enough to tell a later rewrite or replacement.
struct Facts {
    qint64 size = 0;
    qint64 mtimeMs = 0;
    qint64 ctimeNs = 0; // moves with every write or rename, and no program can set it back
    quint64 inode = 0;
};

enum class Outcome { Read, Missing, Failed };

// Reads the file through one descriptor: its facts as they were before the bytes were read, then
// the bytes. Missing only when there is no file (a dangling link is Failed); anything but a
// regular file is Failed.
Outcome readWithFacts(const QByteArray& nativePath, QByteArray& out, Facts& facts);
Outcome readWithFacts(const QByteArray& nativePath, QByteArray& out, Facts& facts, qint64 limit,
                      Refusal* why = nullptr);
// The file's facts now; Missing when there is none, Failed for a directory or when it cannot tell.
Outcome factsOf(const QByteArray& nativePath, Facts& facts);

} // namespace FileBytes
