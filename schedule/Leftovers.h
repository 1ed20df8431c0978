#pragma once

#include <QString>

class RecoveryJournal;

// Temporaries a replace that was cut off (a kill, a power cut) left beside the data files. One
// holding text newer than its file goes into the journal, to be offered like any text left
// unsaved; the others are removed. Only names the program's own replace makes are looked at,
// now or in earlier versions (those for data files only).
namespace Leftovers {

// The label and page a data file is offered under, such as 2001年02月03日の日誌 and 3, or -1
// for a month file; false for a name that is no data file's.
bool describe(const QString& fileName, QString* label, int* page);

// Throws EInOutError when a newer text cannot be journaled; its temporary then stays.
void adopt(RecoveryJournal& journal, const QString& dataFolder);

} // namespace Leftovers
