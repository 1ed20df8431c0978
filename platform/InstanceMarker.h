#pragma once

#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;
class QLockFile;

// One running copy of the program per user log-on, keyed by a text (the program file's name).
// The lock file decides who runs; the system frees it with the process, so a killed or crashed
// run never blocks later starts. A local server beside it is only the doorbell a second start
// rings to bring the running copy's window forward.
class InstanceMarker final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(InstanceMarker)

public:
    enum class Result { Acquired, AlreadyRunning, Failed };

    // Texts longer than this many bytes cannot be held, as a global atom cannot.
    static constexpr int MaxTextBytes = 255;

    // The text is compared without regard to letter case.
    explicit InstanceMarker(const QString& text, QObject* parent = nullptr);
    ~InstanceMarker() override;

    // The running program file's name without its folder.
    static QString programFileName();

    // Takes the marker; AlreadyRunning when another holder (any process of this user) has it,
    // Failed when the text is empty or too long or the lock file cannot be made.
    Result acquire();
    // Asks the holder to show its window; true once the holder has confirmed the request.
    bool activateRunning(int timeoutMs);
    // Gives the marker up; nothing happens when it is not held.
    void release();

    bool isHeld() const;
    QString lockFilePath() const { return m_lockPath; }

Q_SIGNALS:
    // A second start asked for the main window (show it even if hidden, raise and activate it).
    void activationRequested();

private:
    void startDoorbell();
    bool someoneAnswers(int timeoutMs) const;
    void onNewConnection();
    void onRequestBytes(QLocalSocket* socket);

    QString m_text;
    bool m_textFits = false;
    QString m_lockPath;
    QString m_serverName;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
