#pragma once

#include <QHash>
#include <QSet>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QSocketNotifier;

// The kernel's notices of what happens inside folders: a file written, created, removed or
// renamed in or out. One notice per folder serves every file in it, so following other files of
// the same folder costs nothing; a file replaced by a rename is seen under its name.
class FolderNotices final : public QObject {
    Q_OBJECT
public:
    explicit FolderNotices(QObject* parent = nullptr);
    ~FolderNotices() override;
    Q_DISABLE_COPY_MOVE(FolderNotices)

    // Follows these folders from now on; a new one is followed a moment later, once armed. One
    // that cannot be followed (missing, or no notices on this system) is tried again at the next
    // call; the same list costs nothing when all are followed.
    void setFolders(const QStringList& folders);
    bool follows(const QString& folder) const { return m_watchOf.contains(folder); }
    // Followed, being armed, or to be tried again.
    bool wants(const QString& folder) const { return m_wanted.contains(folder); }

Q_SIGNALS:
    // `name` in `folder` changed. An empty name: anything in it may have changed, as when notices
    // were lost or the folder itself was moved or removed (it is then no longer followed until
    // setFolders finds it again).
    void changed(const QString& folder, const QString& name);
    // Names came into the folder or left it (created, removed, renamed), or may have: the
    // folder's list is to be read again. Told after `changed`.
    void namesChanged(const QString& folder);

private:
    struct Descriptor;
    void arm(const QString& folder);
    void armed(const QString& folder, int watch);
    void readNotices();
    void drop(int watch);

    std::shared_ptr<Descriptor> m_descriptor; // shared with an arming in progress
    QSocketNotifier* m_notifier = nullptr;
    QStringList m_wanted;
    QSet<QString> m_arming;
    QHash<QString, int> m_watchOf;
    QHash<int, QString> m_folderOf;
};
