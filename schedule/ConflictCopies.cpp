#include "schedule/ConflictCopies.h"

#include "schedule/DataFileNames.h"
#include "schedule/DayFiles.h"
#include "platform/FolderEntries.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTime>

#include <algorithm>

namespace ConflictCopies {

namespace {

// Each form gives the name back in captures "stem" and "ext" (or "base", the whole name), with
// its date in "date" (yyyyMMdd or yyyy-MM-dd) and its time in "time" (HHmmss) when it has them.
const QRegularExpression& form(int i)
{
    static const QRegularExpression forms[] = {
        QRegularExpression(QStringLiteral(
            R"(^(?<stem>.+)\.sync-conflict-(?<date>\d{8})-(?<time>\d{6})-[A-Z2-7]{7}(?<ext>\.[a-z]{3})$)")),
        QRegularExpression(QStringLiteral(
            R"(^(?<stem>.+) \((?:[^()]+ )?conflicted copy (?:[^()]+ )?(?<date>\d{4}-\d{2}-\d{2})(?: (?<time>\d{6}))?\)(?: \([1-9]\d{0,3}\))?(?<ext>\.[a-z]{3})$)")),
        QRegularExpression(QStringLiteral(R"(^(?<stem>.+) \([1-9]\d{0,3}\)(?<ext>\.[a-z]{3})$)")),
        QRegularExpression(QStringLiteral(
            R"(^(?<stem>.+) \(conflict(?: #[1-9]\d{0,3})?_on_(?<date>\d{4}-\d{2}-\d{2})\)(?<ext>\.[a-z]{3})$)")),
        QRegularExpression(QStringLiteral(
            R"(^(?<stem>.+) \(QuavSchedulerの入力 (?<date>\d{4}-\d{2}-\d{2}) (?<time>\d{6})(?: (?:[2-9]|[1-9]\d{1,3}))?\)(?<ext>\.[a-z]{3})$)")),
        QRegularExpression(QStringLiteral(R"(^\.bak\.(?:0|[1-9]\d{0,3})\.(?<base>.+)$)")),
        QRegularExpression(QStringLiteral(R"(^(?<base>.+)\.(?:0|[1-9]\d{0,3})\.unison\.bak$)")),
    };
    return forms[i];
}
constexpr int kForms = 7;

bool stampIsReal(const QRegularExpressionMatch& m)
{
    const QString date = m.captured(u"date").remove(u'-');
    if (!date.isEmpty() && !QDate::fromString(date, QStringLiteral("yyyyMMdd")).isValid())
        return false;
    const QString time = m.captured(u"time");
    return time.isEmpty() || QTime::fromString(time, QStringLiteral("HHmmss")).isValid();
}

std::optional<QString> fileOf(QStringView name, int depth)
{
    if (depth > 4)
        return std::nullopt;
    for (int i = 0; i < kForms; ++i) {
        const QRegularExpressionMatch m = form(i).match(name);
        if (!m.hasMatch() || !stampIsReal(m))
            continue;
        const QString base =
            m.hasCaptured(u"base") ? m.captured(u"base") : m.captured(u"stem") + m.captured(u"ext");
        if (base == DataFileNames::kWork)
            continue;
        if (DataFileNames::parse(QStringView(base)))
            return base;
        if (const std::optional<QString> inner = fileOf(QStringView(base), depth + 1))
            return inner;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> fileOf(QStringView name)
{
    return fileOf(name, 0);
}

QStringList copiesOf(const QString& folder, const QString& fileName)
{
    QStringList out;
    const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names)
        if (fileOf(name) == fileName)
            out.append(name);
    out.sort(); // by code point: the same order on every system
    return out;
}

QList<Found> inFolder(const QString& folder)
{
    QList<Found> out;
    FolderEntries::visit(folder, [&](std::string_view name, FolderEntries::Kind kind) {
        // The day files themselves are most of the folder: told apart without decoding a name.
        if (DataFileNames::parse(name) || kind == FolderEntries::Kind::Folder ||
            kind == FolderEntries::Kind::Other)
            return;
        const QString decoded = FolderEntries::decoded(name);
        if (kind == FolderEntries::Kind::Link && !QFileInfo(DayFiles::joinPath(folder, decoded)).isFile())
            return;
        if (const std::optional<QString> file = fileOf(decoded))
            out.append({decoded, *file});
    });
    std::sort(out.begin(), out.end(), [](const Found& a, const Found& b) {
        return a.file != b.file ? a.file < b.file : a.copy < b.copy;
    });
    return out;
}

} // namespace ConflictCopies
