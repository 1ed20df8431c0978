#include "schedule/DataFolderCheck.h"

#include "schedule/DataFileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace DataFolderCheck {

namespace {
QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// Mount tables write a blank, a tab, a new line and a backslash as octal escapes.
QString unescape(const QString& field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == u'\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out += QChar(code);
                i += 3;
                continue;
            }
        }
        out += field[i];
    }
    return out;
}

QString clean(const QString& path)
{
    return QDir::cleanPath(path);
}

// Field `column` (from 0) of every line that is not a comment.
QStringList column(const QString& table, int index)
{
    QStringList out;
    static const QRegularExpression blanks(QStringLiteral("[ \\t]+"));
    for (const QString& line : table.split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        const QStringList fields = trimmed.split(blanks);
        if (fields.size() > index)
            out.append(clean(unescape(fields[index])));
    }
    return out;
}

bool isUnderMountFolders(const QString& folder)
{
    const QString parent = QFileInfo(folder).path();
    const QString grand = QFileInfo(parent).path();
    return parent == QLatin1String("/mnt") || parent == QLatin1String("/media") ||
           grand == QLatin1String("/media") || grand == QLatin1String("/run/media");
}

bool holdsNothing(const QString& folder)
{
    return QDir(folder)
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)
        .isEmpty();
}
} // namespace

Mounts Mounts::system()
{
    return {readText(QStringLiteral("/etc/fstab")), readText(QStringLiteral("/proc/self/mountinfo"))};
}

bool isWindowsPath(const QString& path)
{
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:([\\\\/]|$)"));
    return drive.match(path).hasMatch() || path.startsWith(QLatin1String("\\\\")) || path.contains(u'\\');
}

bool holdsDataFiles(const QString& folder)
{
    const QDir dir(folder);
    if (!dir.exists())
        return false;
    for (const QString& name : dir.entryList(QDir::Files))
        if (DataFileNames::looksLikeDataFile(name))
            return true;
    return false;
}

bool isBareMountPoint(const QString& folder, const Mounts& mounts)
{
    const QString path = clean(QFileInfo(folder).absoluteFilePath());
    if (path == QLatin1String("/") || !QFileInfo(path).isDir() || !holdsNothing(path))
        return false;
    // mountinfo: id, parent, major:minor, root, mount point, ...
    if (column(mounts.mountinfo, 4).contains(path))
        return false;
    return column(mounts.fstab, 1).contains(path) || isUnderMountFolders(path);
}

Result check(const QString& stored, const QString& settingsFolder, const Mounts& mounts)
{
    const auto beside = [&](Finding otherwise) {
        if (holdsDataFiles(settingsFolder)) {
            const QString folder = settingsFolder.endsWith(u'/') ? settingsFolder : settingsFolder + u'/';
            return Result{Finding::Usable, folder};
        }
        return Result{otherwise, {}};
    };
    if (stored.trimmed().isEmpty())
        return beside(Finding::Empty);
    QString folder = stored;
    if (!QFileInfo(folder).isDir() && isWindowsPath(folder))
        return beside(Finding::WindowsPath);
    if (QDir::isRelativePath(folder))
        folder = QDir(settingsFolder).filePath(folder);
    if (!QFileInfo(folder).isDir())
        return {Finding::Missing, {}};
    if (isBareMountPoint(folder, mounts))
        return {Finding::BareMountPoint, {}};
    return {Finding::Usable, folder};
}

QString message(Finding finding, const QString& stored, const QString& defaultFolder)
{
    QString what;
    switch (finding) {
    case Finding::Empty:
        what = QStringLiteral("データフォルダが設定されていません。");
        break;
    case Finding::WindowsPath:
        what = QStringLiteral("データフォルダ\"") + stored +
               QStringLiteral("\"は Windows のフォルダのため、このコンピュータでは使えません。");
        break;
    case Finding::Missing:
        what = QStringLiteral("データフォルダ\"") + stored + QStringLiteral("\"が見つかりません。");
        break;
    case Finding::BareMountPoint:
        what =
            QStringLiteral("データフォルダ\"") + stored +
            QStringLiteral("\"には何もマウントされていません。ディスクが接続されていない可能性があります。");
        break;
    case Finding::Usable:
        return {};
    }
    return what + QStringLiteral("\n\n使うフォルダを選ぶか、既定のデータフォルダ\"") + defaultFolder +
           QStringLiteral("\"を今回だけ使ってください。\n設定に保存されているフォルダは、"
                          "別のフォルダを選んだときだけ書き換えます。");
}

} // namespace DataFolderCheck
