#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "platform/FileBytes.h"

// What a file looked like when the program last read or wrote it, to tell later whether
// another program changed it. Size and modification time are the quick look; when they moved,
// or the time was so close to the moment of taking that a same-sized rewrite could keep it, the
// bytes decide: a file touched, copied back by a backup or passed over by a sync tool is the
// same file.
class DiskStamp final {
public:
    DiskStamp() = default;

    // The file as it is now; bytes are what was just read from or written to it (a null view
    // reads the file when a digest is needed). A missing file gives a stamp of a missing file.
    static DiskStamp take(const QString& path, QByteArrayView bytes = {});
    static DiskStamp missing() { return {}; }
    // The file as fstat saw it before these bytes were read from it.
    static DiskStamp fromFacts(const FileBytes::Facts& facts, QByteArrayView bytes);

    // True when the file's bytes differ from the stamp's. A file that vanished since counts as
    // unchanged: writing it back loses nothing of the other program's.
    bool changedOnDisk(const QString& path) const;

    // True only when the file is surely as stamped, still missing or the same file with the same
    // size and times, so what was read from it need not be read again. A stamp whose time alone
    // cannot tell, or that came from text, never vouches for the file.
    bool unchangedSince(const QString& path) const;

    // True when the file's facts are exactly those stamped: the same file, size and times. Proof of
    // nothing where times move in coarse steps, but enough for a watch that looks again soon to
    // skip reading the file.
    bool sameFacts(const FileBytes::Facts& facts) const;
    // True when both stamps know the bytes they stand for and these are the same.
    bool sameBytes(const DiskStamp& other) const;
    quint64 inode() const { return m_inode; }

    bool exists() const { return m_exists; }
    // One text line, and back, so a stamp can be kept in a file.
    QString toText() const;
    static DiskStamp fromText(const QString& text);

    // What the stamp says of the file's contents; the identity below is only a faster witness.
    bool operator==(const DiskStamp& other) const
    {
        return m_exists == other.m_exists && m_size == other.m_size && m_mtimeMs == other.m_mtimeMs &&
               m_digest == other.m_digest;
    }

private:
    bool m_exists = false;
    qint64 m_size = 0;
    qint64 m_mtimeMs = 0;
    QByteArray m_digest;  // hex, of the bytes read or written; empty when they were not known
    bool m_doubt = false; // taken so soon after the file's time that a rewrite may have kept it
    // Kept in memory only: a replaced or rewritten file changes them even when it keeps size and time.
    qint64 m_ctimeNs = 0;
    quint64 m_inode = 0;
    bool m_changeFresh = false; // the change time was too close to the taking to witness a rewrite
    bool changeWitnesses() const { return m_inode != 0 && !m_changeFresh; }
};
