#pragma once

#include <QString>
#include <QStringList>

// Starting another program of the platform and waiting for its end.
namespace ProcessRunner {

enum class Outcome {
    NotStarted,
    Ended,
    // The wait was given up (stopWaiting, or the program is ending) while the program ran on.
    // It is left running: it may still hold what the user has not saved.
    LeftRunning,
};

// Starts `program` directly (no search path, no shell, no quoting; a name without a folder is
// taken in the current folder) with the given arguments, inheriting environment, current folder
// and standard channels. Waits for its end while the event loop goes on, so other windows keep
// painting; the wait sleeps instead of polling.
Outcome run(const QString& program, const QStringList& arguments);
// The same; false when the program cannot be started.
bool runAndWait(const QString& program, const QStringList& arguments);
// Ends every wait in progress at once; their programs are left running.
void stopWaiting();

} // namespace ProcessRunner
