#pragma once

#include <QString>
#include <QStringList>

// Starting another program of the platform and waiting for its end.
namespace ProcessRunner {

// Starts `program` directly (no search path, no shell, no quoting; a name without a folder is
// taken in the current folder) with the given arguments, inheriting environment, current folder
// and standard channels. Waits for its end while the event loop goes on, so other windows keep
// painting; the wait sleeps instead of polling. False when the program cannot be started.
bool runAndWait(const QString& program, const QStringList& arguments);

} // namespace ProcessRunner
