#pragma once

#include "schedule/RecoveryJournal.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// The session ended while the external editor still had a page: the editor is left running, the
// page took what the work file held then, and this record remembers it. At the next start, what
// the editor saved after that comes back as a journal entry of the page, offered with the others.
struct EditorHandOff {
    QString workFile;
    // The page's data file, label, index and stamp after the close wrote it; bytes: the work
    // file's bytes as they were taken.
    RecoveryJournal::Entry page;

    // Kept in the journal folder of the data folder. Throws EInOutError when it cannot be written.
    void save(const RecoveryJournal& journal, const QString& dataFolder) const;
    // Takes the record of the data folder, if any, and removes it. When the work file changed
    // since, the journal gets an entry with the editor's text; true then.
    static bool settle(RecoveryJournal& journal, const QString& dataFolder, const QDateTime& now);

    static QString recordPath(const RecoveryJournal& journal, const QString& dataFolder);
    // The page text for the bytes an editor saved, with CR LF line breaks as a page file holds it.
    static QString pageText(const QByteArray& workBytes);
};
