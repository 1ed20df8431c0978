#pragma once

#include "print/PrintChoice.h"
#include "print/PrintPages.h"

#include <QString>

#include <memory>

class MessageService;
class PrintSource;
class QProgressDialog;
class QWidget;

// Carries out a choice: the print dialog and printing, the preview, or a PDF or text file
// written whole or not at all. Failures are told through the message service.
class PrintJob final {
public:
    PrintJob(const PrintSource& source, MessageService& messages, QWidget* parent);
    ~PrintJob();
    Q_DISABLE_COPY_MOVE(PrintJob)

    // Asked during long runs; unset, a progress dialog with a cancel button is shown.
    PrintPages::Progress progress;

    // True when the output was made; false when it failed (and the user was told) or was cancelled.
    bool run(const PrintChoice& choice);
    bool exportPdf(const PrintChoice& choice);
    bool exportText(const PrintChoice& choice);

    // The name with the suffix added when it has another or none: 予定.pdf for 予定.
    static QString withSuffix(const QString& path, const QString& suffix);

private:
    bool print(const PrintChoice& choice);
    bool preview(const PrintChoice& choice);
    bool goOn(qsizetype done, qsizetype total);
    PrintPages::Progress progressFor(const QString& label);
    void writeFailed(const QString& path, const QString& reason);

    const PrintSource& m_source;
    MessageService& m_messages;
    QWidget* m_parent;
    std::unique_ptr<QProgressDialog> m_progress;
};
