#include "mainwindow/model/EditorHandOff.h"

#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/WorkFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {
const QByteArray kMagic = QByteArrayLiteral("QuavScheduler editor hand-off 1");

std::optional<EditorHandOff> parse(const QByteArray& data)
{
    const qsizetype end = data.indexOf("\n\n");
    if (end < 0 || !data.startsWith(kMagic + '\n'))
        return std::nullopt;
    EditorHandOff h;
    qsizetype size = -1;
    for (const QByteArray& line : data.left(end).split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq < 0)
            continue;
        const QByteArray key = line.left(eq);
        const QString value = QString::fromUtf8(line.mid(eq + 1));
        if (key == "work")
            h.workFile = value;
        else if (key == "target")
            h.page.target = value;
        else if (key == "label")
            h.page.label = value;
        else if (key == "page")
            h.page.page = value.toInt();
        else if (key == "base")
            h.page.base = DiskStamp::fromText(value);
        else if (key == "size")
            size = value.toLongLong();
    }
    h.page.bytes = data.mid(end + 2);
    if (h.workFile.isEmpty() || h.page.target.isEmpty() || size != h.page.bytes.size())
        return std::nullopt;
    return h;
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
    if (!QDir().mkpath(QFileInfo(path).path()))
        throw EInOutError(formatMessage(QStringLiteral("%s に書き込めません"), path));
    QByteArray out = kMagic + '\n';
    out += "work=" + workFile.toUtf8() + '\n';
    out += "target=" + page.target.toUtf8() + '\n';
    out += "label=" + page.label.toUtf8() + '\n';
    out += "page=" + QByteArray::number(page.page) + '\n';
    out += "base=" + page.base.toText().toUtf8() + '\n';
    out += "size=" + QByteArray::number(page.bytes.size()) + "\n\n";
    AnsiText::writeBytes(path, out + page.bytes);
}

bool EditorHandOff::settle(RecoveryJournal& journal, const QString& dataFolder, const QDateTime& now)
{
    const QString path = recordPath(journal, dataFolder);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const std::optional<EditorHandOff> h = parse(file.readAll());
    file.close();
    bool offered = false;
    if (h) {
        QFile work(h->workFile);
        if (work.open(QIODevice::ReadOnly)) {
            const QByteArray saved = work.readAll();
            if (work.error() == QFileDevice::NoError && saved != h->page.bytes) {
                RecoveryJournal::Entry entry = h->page;
                entry.taken = now;
                entry.bytes = AnsiText::encode(pageText(saved));
                journal.put(entry); // throws: the record stays for the next try
                offered = true;
            }
        }
    }
    QFile::remove(path);
    return offered;
}
