#pragma once

#include <QString>
#include <QList>
#include <QStringList>
#include <QStringView>

#include <optional>

// The copies a sync tool leaves beside a data file when both computers changed it, and the data
// file each belongs to. Only copies of the program's own data files are recognised, and only in
// these forms (NAME the data file's name without its extension, EXT its .txt or .csv):
//   Syncthing         NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICE7.EXT  (device: A-Z and 2-7)
//   Dropbox           NAME (conflicted copy YYYY-MM-DD).EXT
//                     NAME (WHO conflicted copy YYYY-MM-DD).EXT, such as "Alice's" or a device
//                     either of them followed by " (N)" when that name was taken
//   Nextcloud         NAME (conflicted copy YYYY-MM-DD HHMMSS).EXT
//                     NAME (conflicted copy WHO YYYY-MM-DD HHMMSS).EXT
//   numbered copies   NAME (N).EXT, N from 1 without a leading zero
//   Unison            NAME (conflict_on_YYYY-MM-DD).EXT, NAME (conflict #N_on_YYYY-MM-DD).EXT
//                     .bak.N.NAME.EXT (its backups, N from 0), NAME.EXT.N.unison.bak
//   this program     NAME (QuavSchedulerの入力 YYYY-MM-DD HHMMSS).EXT, with " N" (from 2) before the
//                     bracket when that name was taken: the screen's text kept by 両方残す
// A copy of a copy belongs to the same data file. Dates and times must be real ones.
namespace ConflictCopies {

// The data file a copy belongs to, such as 20261209.txt; nothing for any other name, a data
// file's own included.
std::optional<QString> fileOf(QStringView name);

// The names of the copies of `fileName` in the folder, sorted; none when it cannot be read.
QStringList copiesOf(const QString& folder, const QString& fileName);

// A copy found in a data folder and the data file it belongs to.
struct Found {
    QString copy;
    QString file;
    friend bool operator==(const Found&, const Found&) = default;
};

// Every copy of a data file in the folder, by data file and then by copy name; none when the
// folder cannot be read. The program's own file names are passed over without a closer look,
// so a folder of decades of days costs one listing.
QList<Found> inFolder(const QString& folder);

} // namespace ConflictCopies
