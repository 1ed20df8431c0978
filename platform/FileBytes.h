#pragma once

#include <QByteArray>

// Whole-file reads for scanning many small files, without the buffering and look-ups of the
// general file classes. Safe to call from any thread.
namespace FileBytes {

// Replaces `out` with the file's bytes; false when the file cannot be opened or read.
bool read(const QByteArray& nativePath, QByteArray& out);

} // namespace FileBytes
