#pragma once

#include "platform/DiskStamp.h"
#include "platform/FolderNotices.h"

#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <optional>

// Tells when watched files change on disk: their bytes differ, or they appeared or vanished.
// A touch, or a sync tool writing the same bytes back, is no change. The kernel's notice of the
// folder makes it quick; a look twice a second catches what no notice reaches (a folder renamed
// away and back, a file system without notices), so nothing waits long.
// A look costs one stat a file: the bytes are read only when the file's facts moved.
class FileWatch final : public QObject {
    Q_OBJECT
public:
    enum class Change { Changed, Appeared, Vanished };
    Q_ENUM(Change)

    explicit FileWatch(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FileWatch)

    // Watches these files from now on, each compared with what the program last read or wrote of
    // it. One it has not read yet (no stamp: it is being read) is told at any move of its facts,
    // until know() gives what was read.
    using Seen = std::optional<DiskStamp>;
    void setFiles(const QHash<QString, Seen>& files);
    // As setFiles, for files the program has not read: paths watched already keep what was last
    // seen of them, new ones are taken as they are now.
    void setPaths(const QStringList& paths);
    QStringList paths() const { return m_states.keys(); }
    // The program read or wrote the file: its own write is not told back.
    void know(const QString& path, const DiskStamp& seen);
    void acknowledge(const QString& path) { know(path, DiskStamp::take(path)); }

Q_SIGNALS:
    void fileChanged(const QString& path, FileWatch::Change change);
    // Names came into or left a folder of the watched files (other files' too): one notice of the
    // folder serves both, so it is armed only once.
    void folderNamesChanged(const QString& folder);

public:
    // A folder's names are known to have stayed while its time and identity stay.
    struct FolderTime {
        qint64 mtimeNs = -1; // -1: no folder there
        quint64 inode = 0;
        bool operator==(const FolderTime&) const = default;
    };

private:
    void namesNoticed(const QString& folder);
    void checkAll();
    void check(const QString& path);
    void follow();
    void noticed(const QString& folder, const QString& name);

    QHash<QString, DiskStamp> m_states;
    QHash<QString, QStringList> m_namesIn; // the watched files' names by folder
    QStringList m_folders;
    QHash<QString, FolderTime> m_folderTimes;
    FolderNotices m_notices;
    QTimer m_soon; // gathers a burst of notices into one look
    QTimer m_poll;
};
