#include "platform/DiskStamp.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QStringList>

namespace {
// Coarse file systems keep the time in two-second steps; a rewrite within them may not move it.
constexpr qint64 kDoubtMs = 3000;
constexpr qsizetype kDigestChars = 40; // hex SHA-1; anything else says the bytes are not known

QByteArray digestOf(QByteArrayView bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex();
}

bool readFile(const QString& path, QByteArray& bytes)
{
    return FileBytes::read(QFile::encodeName(path), bytes);
}
} // namespace

DiskStamp DiskStamp::fromFacts(const FileBytes::Facts& facts, QByteArrayView bytes)
{
    DiskStamp stamp;
    stamp.m_exists = true;
    stamp.m_size = facts.size;
    stamp.m_mtimeMs = facts.mtimeMs;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    // The change time moves in coarse steps too: one too close to now may not move again for a
    // rewrite that follows, so such a stamp vouches for nothing.
    stamp.m_ctimeNs = facts.ctimeNs;
    stamp.m_inode = facts.inode;
    stamp.m_changeFresh = now - facts.ctimeNs / 1000000 < kDoubtMs;
    stamp.m_doubt = now - stamp.m_mtimeMs < kDoubtMs;
    // Bytes of another size were read while the file changed: no digest of them vouches for it.
    stamp.m_digest = bytes.size() == stamp.m_size ? digestOf(bytes) : QByteArray("changing");
    return stamp;
}

DiskStamp DiskStamp::take(const QString& path, QByteArrayView bytes)
{
    const QByteArray native = QFile::encodeName(path);
    FileBytes::Facts facts;
    if (bytes.data()) {
        if (FileBytes::factsOf(native, facts) != FileBytes::Outcome::Read)
            return {};
        if (bytes.size() == facts.size)
            return fromFacts(facts, bytes);
    }
    // Facts and bytes through one descriptor, so the digest is of the file the facts describe.
    QByteArray read;
    switch (FileBytes::readWithFacts(native, read, facts)) {
    case FileBytes::Outcome::Read:
        return fromFacts(facts, read);
    case FileBytes::Outcome::Missing:
        return {};
    case FileBytes::Outcome::Failed:
        break;
    }
    if (FileBytes::factsOf(native, facts) != FileBytes::Outcome::Read)
        return {};
    DiskStamp stamp = fromFacts(facts, {});
    stamp.m_digest = QByteArray("unreadable");
    return stamp;
}

bool DiskStamp::unchangedSince(const QString& path) const
{
    FileBytes::Facts facts;
    const FileBytes::Outcome now = FileBytes::factsOf(QFile::encodeName(path), facts);
    if (!m_exists)
        return now == FileBytes::Outcome::Missing;
    return now == FileBytes::Outcome::Read && !m_doubt && changeWitnesses() && sameFacts(facts);
}

bool DiskStamp::sameFacts(const FileBytes::Facts& facts) const
{
    return m_exists && m_inode != 0 && facts.inode == m_inode && facts.ctimeNs == m_ctimeNs &&
           facts.size == m_size && facts.mtimeMs == m_mtimeMs;
}

bool DiskStamp::sameBytes(const DiskStamp& other) const
{
    return m_exists && other.m_exists && m_size == other.m_size && m_digest.size() == kDigestChars &&
           m_digest == other.m_digest;
}

bool DiskStamp::changedOnDisk(const QString& path) const
{
    FileBytes::Facts facts;
    if (FileBytes::factsOf(QFile::encodeName(path), facts) != FileBytes::Outcome::Read)
        return false;
    if (!m_exists || facts.size != m_size)
        return true;
    // A rewrite moves the change time even where it keeps the modification time.
    const bool sameFile = !changeWitnesses() || (facts.inode == m_inode && facts.ctimeNs == m_ctimeNs);
    if (facts.mtimeMs == m_mtimeMs && !m_doubt && sameFile)
        return false;
    // Without the bytes of the stamp, a moved time is all there is to go by.
    QByteArray bytes;
    return m_digest.isEmpty() || !readFile(path, bytes) || digestOf(bytes) != m_digest;
}

QString DiskStamp::toText() const
{
    if (!m_exists)
        return QStringLiteral("none");
    return QStringLiteral("%1 %2 %3")
        .arg(m_size)
        .arg(m_mtimeMs)
        .arg(m_digest.isEmpty() ? QStringLiteral("-") : QString::fromLatin1(m_digest));
}

DiskStamp DiskStamp::fromText(const QString& text)
{
    DiskStamp stamp;
    const QStringList parts = text.split(u' ');
    if (parts.size() != 3)
        return stamp;
    bool sizeOk = false;
    bool timeOk = false;
    stamp.m_size = parts[0].toLongLong(&sizeOk);
    stamp.m_mtimeMs = parts[1].toLongLong(&timeOk);
    if (!sizeOk || !timeOk)
        return {};
    stamp.m_exists = true;
    // Kept as text, the stamp no longer knows how close to its time it was taken: the bytes decide.
    if (parts[2] != QStringLiteral("-")) {
        stamp.m_digest = parts[2].toLatin1();
        stamp.m_doubt = true;
    }
    return stamp;
}
