#include "platform/SpecialFolders.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

namespace SpecialFolders {

namespace {

std::optional<Folder> existing(Kind kind, const QString& path)
{
    if (path.isEmpty() || !QFileInfo(path).isDir())
        return std::nullopt;
    return Folder{kind, QDir::cleanPath(path)};
}

QString configHome()
{
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    return xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.config") : xdg;
}

QString dataHome()
{
    const QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    return xdg.isEmpty() ? QDir::homePath() + QStringLiteral("/.local/share") : xdg;
}

// Pseudo and system mounts hold nothing a user would choose as a data folder.
bool userVolume(const QStorageInfo& volume)
{
    if (!volume.isValid() || !volume.isReady())
        return false;
    const QString root = volume.rootPath();
    if (!QFileInfo(root).isDir()) // a file mounted over another, as containers do
        return false;
    for (const char* system : {"/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib"}) {
        const QString prefix = QLatin1String(system);
        if (root == prefix || root.startsWith(prefix + u'/'))
            return root.startsWith(QStringLiteral("/run/media/"));
    }
    const QByteArray type = volume.fileSystemType();
    return type != "tmpfs" && type != "overlay" && type != "squashfs";
}

} // namespace

QString userDir(const QString& key)
{
    QFile file(configHome() + QStringLiteral("/user-dirs.dirs"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (!line.startsWith(key + u'='))
            continue;
        QString value = line.mid(key.size() + 1);
        if (value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"'))
            value = value.mid(1, value.size() - 2);
        value.replace(QStringLiteral("$HOME"), QDir::homePath());
        // A user folder set to the home folder itself means the user has none of that kind.
        return QDir::cleanPath(value) == QDir::cleanPath(QDir::homePath()) ? QString() : value;
    }
    return {};
}

std::optional<Folder> locate(Kind kind)
{
    switch (kind) {
    case Kind::Desktop:
    case Kind::Drives:
        return Folder{kind, QString()};
    case Kind::DesktopDir: {
        // Without a desktop folder of its own the toolkit names the home folder, which is none.
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        if (QDir::cleanPath(desktop) == QDir::cleanPath(QDir::homePath()))
            return std::nullopt;
        return existing(kind, desktop);
    }
    case Kind::Templates: {
        const QString named = userDir(QStringLiteral("XDG_TEMPLATES_DIR"));
        return existing(kind, named.isEmpty() ? QDir::homePath() + QStringLiteral("/Templates") : named);
    }
    case Kind::Programs:
        return existing(kind, dataHome() + QStringLiteral("/applications"));
    case Kind::Startup:
        return existing(kind, configHome() + QStringLiteral("/autostart"));
    case Kind::Favorites:
    case Kind::Recent:
    case Kind::SendTo:
    case Kind::StartMenu:
        return std::nullopt;
    }
    return std::nullopt;
}

QList<Volume> volumes()
{
    QList<Volume> list{{QStringLiteral("/"), QStringLiteral("/")}};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isRoot() || !userVolume(volume))
            continue;
        const QString name =
            volume.name().isEmpty() ? QFileInfo(volume.rootPath()).fileName() : volume.name();
        list.append({volume.rootPath(), name.isEmpty() ? volume.rootPath() : name});
    }
    return list;
}

} // namespace SpecialFolders
