#include "schedule/Leftovers.h"

#include "schedule/DataFileNames.h"
#include "schedule/DayFiles.h"
#include "schedule/Pages.h"
#include "schedule/RecoveryJournal.h"
#include "platform/Failure.h"
#include "platform/FileBytes.h"
#include "platform/FileReplace.h"
#include "platform/FolderEntries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace Leftovers {

bool describe(const QString& fileName, QString* label, int* page)
{
    const std::optional<DataFileNames::Parsed> name = DataFileNames::parse(fileName);
    if (!name)
        return false;
    const QDate date = name->date;
    if (const std::optional<int> index = Pages::indexOf(name->kind)) {
        *label = Pages::label(*index, date);
        *page = *index;
        return true;
    }
    const auto two = [](int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); };
    *label = QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0')) + QStringLiteral("年") +
             two(date.month()) + QStringLiteral("月の予定表");
    *page = -1;
    return true;
}

void adopt(RecoveryJournal& journal, const QString& dataFolder)
{
    const QDir dir(dataFolder.isEmpty() ? QStringLiteral(".") : dataFolder);
    // Listed first, then taken in: taking in removes files from the folder being listed.
    QStringList names;
    FolderEntries::visit(dir.path(), [&](std::string_view name, FolderEntries::Kind kind) {
        if (kind == FolderEntries::Kind::File || kind == FolderEntries::Kind::Other)
            names << FolderEntries::decoded(name);
    });
    QList<RecoveryJournal::Entry> journaled;
    bool entriesRead = false;
    for (const QString& name : names) {
        QString fileName = FileReplace::fileOfTemporary(name);
        // The visible form is only ever taken for a data file's: any other such name is the user's.
        if (fileName.isEmpty()) {
            fileName = FileReplace::fileOfEarlierTemporary(name);
            if (fileName.isEmpty() || !DataFileNames::parse(fileName))
                continue;
        }
        const QString temporary = dir.filePath(name);
        QString label;
        int page = -1;
        if (!describe(fileName, &label, &page)) {
            QFile::remove(temporary); // the settings file's or a copy's: nothing to offer
            continue;
        }
        const qint64 limit = page < 0 ? DayFiles::kMonthSizeLimit : DayFiles::kPageSizeLimit;
        QByteArray bytes;
        FileBytes::Facts tempFacts;
        if (FileBytes::readWithFacts(QFile::encodeName(temporary), bytes, tempFacts, limit) !=
            FileBytes::Outcome::Read)
            continue; // nothing of ours can be told from it
        const QString target = DayFiles::joinPath(dataFolder, fileName);
        QByteArray current;
        FileBytes::Facts facts;
        const FileBytes::Outcome file = FileBytes::readWithFacts(QFile::encodeName(target), current, facts);
        // The file was written after the temporary, or holds the same: the temporary is spent.
        const bool newer =
            file == FileBytes::Outcome::Missing ||
            (file == FileBytes::Outcome::Read && tempFacts.mtimeMs >= facts.mtimeMs && current != bytes) ||
            (file == FileBytes::Outcome::Failed && tempFacts.mtimeMs >= facts.mtimeMs);
        if (newer) {
            const QDateTime taken = QDateTime::fromMSecsSinceEpoch(tempFacts.mtimeMs);
            if (!entriesRead) {
                journaled = journal.entries(dataFolder);
                entriesRead = true;
            }
            const bool journalHasNewer =
                std::any_of(journaled.cbegin(), journaled.cend(),
                            [&](const auto& e) { return e.target == target && e.taken > taken; });
            if (!journalHasNewer) {
                RecoveryJournal::Entry entry;
                entry.target = target;
                entry.label = label;
                entry.page = page;
                entry.base = file == FileBytes::Outcome::Read ? DiskStamp::fromFacts(facts, current)
                                                              : DiskStamp::take(target);
                entry.taken = taken;
                entry.bytes = bytes;
                journal.put(entry); // throws, and the temporary stays for the next start
            }
        }
        QFile::remove(temporary);
    }
}

} // namespace Leftovers
