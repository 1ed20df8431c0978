#include "mainwindow/model/Leftovers.h"

#include "mainwindow/model/DayFiles.h"
#include "mainwindow/model/DayTexts.h"
#include "mainwindow/model/RecoveryJournal.h"
#include "platform/Failure.h"
#include "platform/FileBytes.h"
#include "platform/FileReplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace Leftovers {

namespace {
QDate dateOf(const QString& digits)
{
    return QDate::fromString(digits, QStringLiteral("yyyyMMdd"));
}
} // namespace

bool describe(const QString& fileName, QString* label, int* page)
{
    if (fileName == DayFiles::kToDoName) {
        *label = QStringLiteral("ToDo");
        *page = 0;
        return true;
    }
    if (fileName == DayFiles::kMemoName) {
        *label = QStringLiteral("メモ");
        *page = 1;
        return true;
    }
    static const QRegularExpression day(QStringLiteral("^(Sch)?(\\d{8})\\.txt$"));
    static const QRegularExpression anniv(QStringLiteral("^Anniv(\\d\\d)(\\d\\d)\\.txt$"));
    static const QRegularExpression month(QStringLiteral("^(\\d{4})(\\d\\d)\\.csv$"));
    if (const QRegularExpressionMatch m = day.match(fileName); m.hasMatch()) {
        const QDate date = dateOf(m.captured(2));
        if (!date.isValid())
            return false;
        const bool plan = m.capturedLength(1) > 0;
        *label = DayTexts::statusDate(date) + (plan ? QStringLiteral("の予定") : QStringLiteral("の日誌"));
        *page = plan ? 2 : 3;
        return true;
    }
    if (const QRegularExpressionMatch m = anniv.match(fileName); m.hasMatch()) {
        // 29 February is a day of the leap years only.
        if (!QDate(2000, m.captured(1).toInt(), m.captured(2).toInt()).isValid())
            return false;
        *label = m.captured(1) + QStringLiteral("月") + m.captured(2) + QStringLiteral("日の記念日");
        *page = 4;
        return true;
    }
    if (const QRegularExpressionMatch m = month.match(fileName); m.hasMatch()) {
        if (!QDate(m.captured(1).toInt(), m.captured(2).toInt(), 1).isValid())
            return false;
        *label = m.captured(1) + QStringLiteral("年") + m.captured(2) + QStringLiteral("月の予定表");
        *page = -1;
        return true;
    }
    return false;
}

void adopt(RecoveryJournal& journal, const QString& dataFolder)
{
    const QDir dir(dataFolder.isEmpty() ? QStringLiteral(".") : dataFolder);
    const QStringList names =
        dir.entryList({QStringLiteral(".*")}, QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    QList<RecoveryJournal::Entry> journaled;
    bool entriesRead = false;
    for (const QString& name : names) {
        const QString fileName = FileReplace::fileOfTemporary(name);
        if (fileName.isEmpty())
            continue;
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
