#pragma once

#include <QObject>

class QSocketNotifier;

// Turns SIGTERM, SIGHUP and SIGINT into a Qt signal on the thread that created the object. The
// handler only writes the signal number into a pipe; everything else runs from the event loop.
// One instance at a time; the previous handlers come back when it is destroyed.
class CloseSignals final : public QObject {
    Q_OBJECT
public:
    explicit CloseSignals(QObject* parent = nullptr);
    ~CloseSignals() override;
    Q_DISABLE_COPY_MOVE(CloseSignals)

    // False when the pipe or a handler could not be set up; the signals then act as before.
    bool isActive() const { return m_active; }

Q_SIGNALS:
    void closeRequested(int signalNumber);

private:
    void readPipe();

    QSocketNotifier* m_notifier = nullptr;
    bool m_active = false;
};
