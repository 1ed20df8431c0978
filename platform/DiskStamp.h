#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// What a file looked like when the program last read or wrote it, to tell later whether
// another program changed it. Size and modification time decide; when the time was so close to
// the moment of taking that a same-sized rewrite could keep it, a digest of the bytes decides.
class DiskStamp final {
public:
    DiskStamp() = default;

    // The file as it is now; bytes are what was just read from or written to it (a null view
    // reads the file when a digest is needed). A missing file gives a stamp of a missing file.
    static DiskStamp take(const QString& path, QByteArrayView bytes = {});
    static DiskStamp missing() { return {}; }

    // True when the file differs from the stamp. A file that vanished since counts as unchanged:
    // writing it back loses nothing of the other program's.
    bool changedOnDisk(const QString& path) const;

    bool exists() const { return m_exists; }
    // One text line, and back, so a stamp can be kept in a file.
    QString toText() const;
    static DiskStamp fromText(const QString& text);

    bool operator==(const DiskStamp&) const = default;

private:
    bool m_exists = false;
    qint64 m_size = 0;
    qint64 m_mtimeMs = 0;
    QByteArray m_digest; // hex; empty when the time alone decides
};
