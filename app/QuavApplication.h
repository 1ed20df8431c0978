#pragma once

#include <QApplication>

class MessageService;

// The application object: a failure no handler caught is shown as the default error report
// (caption "QuavScheduler", error icon, the message, OK) and the next event goes on.
class QuavApplication final : public QApplication {
    Q_OBJECT
public:
    QuavApplication(int& argc, char** argv, MessageService* messages = nullptr);
    ~QuavApplication() override;

    bool notify(QObject* receiver, QEvent* event) override;

    // The default error report, also used where a failure must not reach Qt's C code.
    void reportFailure(const QString& message);

private:
    MessageService* m_messages = nullptr;
};
