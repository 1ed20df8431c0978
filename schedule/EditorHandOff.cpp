#include "schedule/EditorHandOff.h"

#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/FileBytes.h"
#include "platform/FileReplace.h"
#include "platform/WorkFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <optional>

namespace {
const QByteArray kMagic = QByteArrayLiteral("QuavScheduler editor hand-off 1");

std::optional<EditorHandOff> parse(const QByteArray& data)
{
    QHash<QByteArray, QString> other;
    std::optional<RecoveryJournal::Entry> page = RecoveryJournal::parseRecord(data, kMagic, &other);
    const QString work = other.value("work");
    if (!page || work.isEmpty())
        return std::nullopt;
    return EditorHandOff{work, *page};
}
} // namespace

QString EditorHandOff::recordPath(const RecoveryJournal& journal, const QString& dataFolder)
{
    return journal.folderFor(dataFolder) + QStringLiteral("/editor-hand-off");
}

QString EditorHandOff::pageText(const QByteArray& workBytes)
{
    return AnsiText::toCrLf(WorkFile::decode(workBytes));
}

void EditorHandOff::save(const RecoveryJournal& journal, const QString& dataFolder) const
{
    const QString path = recordPath(journal, dataFolder);
    // Beside the journal's entries and as private as they are: it names the page's text.
    if (!FileReplace::makePrivateFolders(QFileInfo(path).path()) ||
        !FileReplace::replace(path, RecoveryJournal::record(page, kMagic, "work=" + workFile.toUtf8() + '\n'),
                              FileReplace::Access::Private))
        throw EInOutError(formatMessage(QStringLiteral("%s に書き込めません"), path));
}

bool EditorHandOff::settle(RecoveryJournal& journal, const QString& dataFolder, const QDateTime& now)
{
    const QString path = recordPath(journal, dataFolder);
    QByteArray data;
    if (!FileBytes::read(QFile::encodeName(path), data))
        return false;
    const std::optional<EditorHandOff> h = parse(data);
    bool offered = false;
    QByteArray saved;
    // Read as every data file is: a pipe or a device planted as the work file never blocks the start.
    if (h && FileBytes::read(QFile::encodeName(h->workFile), saved) && saved != h->page.bytes) {
        RecoveryJournal::Entry entry = h->page;
        entry.taken = now;
        entry.bytes = AnsiText::encode(pageText(saved));
        journal.put(entry); // throws: the record stays for the next try
        offered = true;
    }
    QFile::remove(path);
    return offered;
}
