#pragma once

#include "platform/FileBytes.h"

#include <QByteArray>
#include <QFileSystemWatcher>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Tells when watched files change on disk: their bytes differ, or they appeared or vanished.
// A touch, or a sync tool writing the same bytes back, is no change. The kernel's notice makes
// it quick; a look twice a second catches what no notice reaches (a file replaced by a rename,
// a folder renamed away and back, a file system without notices), so nothing waits long.
class FileWatch final : public QObject {
    Q_OBJECT
public:
    enum class Change { Changed, Appeared, Vanished };
    Q_ENUM(Change)

    explicit FileWatch(QObject* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FileWatch)

    // Watches these paths from now on, each as it is now; missing ones may appear later.
    void setPaths(const QStringList& paths);
    QStringList paths() const { return m_states.keys(); }
    // Takes the file as it is now as known, so the program's own write is not told back.
    void acknowledge(const QString& path);

Q_SIGNALS:
    void fileChanged(const QString& path, FileWatch::Change change);

private:
    struct State {
        bool exists = false;
        FileBytes::Facts facts;
        QByteArray digest; // empty when the bytes could not be read
    };
    static State stateOf(const QString& path, const State* known);
    void checkAll();
    void check(const QString& path);
    void arm(const QString& path, const State& before, const State& now);

    QHash<QString, State> m_states;
    QFileSystemWatcher m_watcher;
    QTimer m_soon; // gathers a burst of notices into one look
    QTimer m_poll;
};
