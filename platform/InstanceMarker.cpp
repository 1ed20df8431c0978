#include "platform/InstanceMarker.h"

#include "platform/PrivateFolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace {

constexpr char ActivateRequest[] = "activate\n";
constexpr char ActivateReply[] = "ok";
constexpr int MaxRequestBytes = 64;
// A lock file whose holder never wrote who it is was left by a crash right after creating it,
// unless it is this young: then a starter may still be writing it.
constexpr qint64 UnreadableLockGraceMs = 10'000;
// Unix socket paths must fit sun_path (104 bytes on some systems, 108 on Linux).
constexpr qsizetype MaxSocketPathBytes = 100;

QByteArray userKey()
{
#ifdef Q_OS_WIN
    return (qEnvironmentVariable("USERDOMAIN") + QLatin1Char('\\') + qEnvironmentVariable("USERNAME"))
        .toUtf8();
#else
    return QByteArray::number(::getuid());
#endif
}

#ifndef Q_OS_WIN
QString homeFolder(const char* variable, const QString& underHome)
{
    const QString set = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(set) ? set : QDir::homePath() + underHome;
}

// One folder per host, so a home shared between machines keeps one copy per machine.
QString hostPart()
{
    QString host = QSysInfo::machineHostName();
    for (QChar& c : host)
        if (!c.isLetterOrNumber() && c != u'-' && c != u'.')
            c = u'_';
    return host.isEmpty() ? QStringLiteral("local") : host.left(64);
}
#endif

// The per-user runtime folder when there is one; else a folder of our own in the user's home,
// made 0700 and checked. Never a shared folder such as /tmp, where another user could take the
// names first. Empty when no private folder can be had: the marker then cannot be taken.
QString markerFolder()
{
    static const QString folder = [] {
#ifdef Q_OS_WIN
        const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        return runtime.isEmpty() ? QDir::tempPath() : runtime;
#else
        const QString own = QStringLiteral("/QuavScheduler/instance-") + hostPart();
        return PrivateFolder::choose(qEnvironmentVariable("XDG_RUNTIME_DIR"),
                                     {homeFolder("XDG_CACHE_HOME", QStringLiteral("/.cache")) + own,
                                      homeFolder("XDG_STATE_HOME", QStringLiteral("/.local/state")) + own});
#endif
    }();
    return folder;
}

QString baseName(const QString& foldedText)
{
    const QByteArray hash =
        QCryptographicHash::hash(userKey() + '\n' + foldedText.toUtf8(), QCryptographicHash::Sha256);
    return QStringLiteral("quavscheduler-") + QString::fromLatin1(hash.toHex().left(32));
}

QString serverNameIn(const QString& folder, const QString& base)
{
#ifdef Q_OS_WIN
    Q_UNUSED(folder);
    return base;
#else
    const QString path = folder + QLatin1Char('/') + base + QStringLiteral(".sock");
    // A bare name lands in the temporary folder, which always fits.
    return QFile::encodeName(path).size() <= MaxSocketPathBytes ? path : base;
#endif
}

} // namespace

InstanceMarker::InstanceMarker(const QString& text, QObject* parent)
    : QObject(parent), m_text(text.toLower()),
      m_textFits(!text.isEmpty() && text.toLocal8Bit().size() <= MaxTextBytes)
{
    const QString folder = markerFolder();
    if (folder.isEmpty())
        m_textFits = false; // no place of our own: the marker cannot be taken
    const QString base = baseName(m_text);
    m_lockPath = folder + QLatin1Char('/') + base + QStringLiteral(".lock");
    m_serverName = serverNameIn(folder, base);
}

InstanceMarker::~InstanceMarker()
{
    release();
}

QString InstanceMarker::programFileName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

bool InstanceMarker::isHeld() const
{
    return m_lock != nullptr;
}

InstanceMarker::Result InstanceMarker::acquire()
{
    if (isHeld())
        return Result::Acquired;
    if (!m_textFits)
        return Result::Failed;

    auto lock = std::make_unique<QLockFile>(m_lockPath);
    // The lock lasts the whole run: only a holder that is gone makes it stale, never its age.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError)
            return Result::Failed;
        qint64 pid = 0;
        QString host;
        QString app;
        const QDateTime modified = QFileInfo(m_lockPath).lastModified();
        const bool unreadableLeftover =
            !lock->getLockInfo(&pid, &host, &app) && modified.isValid() &&
            qAbs(modified.msecsTo(QDateTime::currentDateTime())) > UnreadableLockGraceMs;
        if (!unreadableLeftover)
            return Result::AlreadyRunning;
        if (!lock->removeStaleLockFile() || !lock->tryLock(0))
            return lock->error() == QLockFile::LockFailedError ? Result::AlreadyRunning : Result::Failed;
    }
    m_lock = std::move(lock);
    startDoorbell();
    return Result::Acquired;
}

void InstanceMarker::release()
{
    // Doorbell first: whoever takes the lock next must find the name free.
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    if (m_lock) {
        m_lock->unlock();
        m_lock.reset();
    }
}

void InstanceMarker::startDoorbell()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &InstanceMarker::onNewConnection);
    if (m_server->listen(m_serverName))
        return;
    // We hold the lock, so a name nobody answers on was left by a run that was killed. (Qt may
    // already replace such a socket itself when it applies the access option.)
    if (!someoneAnswers(500)) {
        QLocalServer::removeServer(m_serverName);
        if (m_server->listen(m_serverName))
            return;
    }
    // The marker still holds without a doorbell; a second start just cannot bring us forward.
    delete m_server;
    m_server = nullptr;
}

bool InstanceMarker::someoneAnswers(int timeoutMs) const
{
    QLocalSocket probe;
    probe.connectToServer(m_serverName);
    const bool answered = probe.waitForConnected(timeoutMs);
    probe.abort();
    return answered;
}

bool InstanceMarker::activateRunning(int timeoutMs)
{
    // Our own doorbell would only answer once this thread returns to its event loop.
    if (isHeld() || !m_textFits)
        return false;
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    const auto left = [&deadline] { return int(qMax<qint64>(0, deadline.remainingTime())); };

    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(left()))
        return false;
    socket.write(ActivateRequest);
    if (!socket.waitForBytesWritten(left()))
        return false;
    while (!socket.canReadLine()) {
        if (socket.bytesAvailable() > MaxRequestBytes || !socket.waitForReadyRead(left()))
            return false;
    }
    return socket.readLine(MaxRequestBytes).trimmed() == ActivateReply;
}

void InstanceMarker::onNewConnection()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { onRequestBytes(socket); });
        onRequestBytes(socket);
    }
}

void InstanceMarker::onRequestBytes(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        // Only our own short request is expected; drop anything else early.
        if (socket->bytesAvailable() > MaxRequestBytes)
            socket->abort();
        return;
    }
    const QByteArray request = socket->readLine(MaxRequestBytes);
    if (request != ActivateRequest) {
        socket->abort();
        return;
    }
    socket->write(ActivateReply);
    socket->write("\n");
    // Out before the window work the signal starts, so the caller is not left waiting.
    socket->flush();
    socket->disconnectFromServer();
    Q_EMIT activationRequested();
}
