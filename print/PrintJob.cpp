#include "print/PrintJob.h"

#include "platform/FileReplace.h"
#include "platform/MessageService.h"
#include "print/PrintSource.h"
#include "print/model/PdfText.h"
#include "print/model/TextExport.h"
#include "schedule/DataFileNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>

namespace {

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// A PDF that QPrinter finished ends with its trailer; a full disk leaves one cut short.
bool completePdf(const QByteArray& bytes)
{
    return bytes.startsWith("%PDF-") && bytes.right(32).contains("%%EOF");
}

} // namespace

PrintJob::PrintJob(const PrintSource& source, MessageService& messages, QWidget* parent)
    : m_source(source), m_messages(messages), m_parent(parent)
{
}

PrintJob::~PrintJob() = default;

QString PrintJob::withSuffix(const QString& path, const QString& suffix)
{
    if (path.endsWith(suffix, Qt::CaseInsensitive))
        return path;
    return path + suffix;
}

bool PrintJob::run(const PrintChoice& choice)
{
    switch (choice.output) {
    case PrintChoice::Output::Printer:
        return print(choice);
    case PrintChoice::Output::Preview:
        return preview(choice);
    case PrintChoice::Output::Pdf:
        return exportPdf(choice);
    case PrintChoice::Output::Text:
        return exportText(choice);
    }
    return false;
}

PrintPages::Progress PrintJob::progressFor(const QString& label)
{
    if (progress)
        return progress;
    m_progress.reset();
    return [this, label](qsizetype done, qsizetype total) {
        if (!m_progress) {
            m_progress =
                std::make_unique<QProgressDialog>(label, QStringLiteral("キャンセル"), 0, 1000, m_parent);
            m_progress->setWindowTitle(QStringLiteral("QuavScheduler"));
            m_progress->setWindowModality(Qt::WindowModal);
            m_progress->setMinimumDuration(400);
            m_progress->setAutoClose(false);
            m_progress->setAutoReset(false);
        }
        return goOn(done, total);
    };
}

bool PrintJob::goOn(qsizetype done, qsizetype total)
{
    // A modal progress dialog handles the events while its value is set, so the windows repaint
    // and the cancel button works.
    const int value = total > 0 ? int(std::min<qsizetype>(done, total) * 1000 / total) : 0;
    m_progress->setValue(value);
    return !m_progress->wasCanceled();
}

void PrintJob::writeFailed(const QString& path, const QString& reason)
{
    QString text =
        QStringLiteral("ファイル\"%1\"に書き出せませんでした。").arg(QDir::toNativeSeparators(path));
    if (!reason.isEmpty())
        text += u'\n' + reason;
    m_messages.show(text, MessageService::Icon::Error, MessageService::Buttons::Ok);
}

bool PrintJob::print(const PrintChoice& choice)
{
    QPrinter printer(QPrinter::HighResolution);
    PrintPages::setUpPage(printer, choice);
    printer.setDocName(PrintPages::contentName(choice.content));
    QPrintDialog dialog(&printer, m_parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    const PrintPages::Outcome outcome =
        PrintPages::paint(printer, m_source, choice, progressFor(QStringLiteral("印刷しています...")));
    m_progress.reset();
    if (outcome == PrintPages::Outcome::Failed)
        m_messages.show(QStringLiteral("印刷できませんでした。"), MessageService::Icon::Error,
                        MessageService::Buttons::Ok);
    return outcome == PrintPages::Outcome::Done;
}

bool PrintJob::preview(const PrintChoice& choice)
{
    QPrinter printer(QPrinter::HighResolution);
    PrintPages::setUpPage(printer, choice);
    printer.setDocName(PrintPages::contentName(choice.content));
    QPrintPreviewDialog dialog(&printer, m_parent);
    dialog.setWindowTitle(QStringLiteral("印刷プレビュー - ") + PrintPages::contentName(choice.content));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter* shown) {
        PrintPages::paint(*shown, m_source, choice,
                          progressFor(QStringLiteral("プレビューを作っています...")));
        m_progress.reset();
    });
    dialog.exec();
    return true;
}

bool PrintJob::exportPdf(const PrintChoice& choice)
{
    const QString path = withSuffix(choice.file, QStringLiteral(".pdf"));
    // Painted into a temporary file first: the file named is only replaced by a whole PDF.
    QTemporaryFile temporary(QDir::tempPath() + QStringLiteral("/quav-print-XXXXXX.pdf"));
    if (!temporary.open()) {
        writeFailed(path, temporary.errorString());
        return false;
    }
    temporary.close();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temporary.fileName());
    printer.setCreator(QStringLiteral("QuavScheduler"));
    printer.setDocName(PrintPages::contentName(choice.content));
    PrintPages::setUpPage(printer, choice);
    const PrintPages::Outcome outcome = PrintPages::paint(
        printer, m_source, choice, progressFor(QStringLiteral("PDFファイルに書き出しています...")));
    m_progress.reset();
    if (outcome == PrintPages::Outcome::Cancelled)
        return false;
    QFile painted(temporary.fileName());
    QByteArray bytes;
    if (painted.open(QIODevice::ReadOnly))
        bytes = painted.readAll();
    if (outcome == PrintPages::Outcome::Failed || !completePdf(bytes)) {
        writeFailed(path, QStringLiteral("PDFを作れませんでした。"));
        return false;
    }
    PdfText::preferIdeographs(bytes);
    if (!FileReplace::replace(path, bytes)) {
        writeFailed(path, errnoText());
        return false;
    }
    return true;
}

bool PrintJob::exportText(const PrintChoice& choice)
{
    const QString path = withSuffix(choice.file, QStringLiteral(".txt"));
    QByteArray bytes;
    switch (choice.content) {
    case PrintChoice::Content::Month:
        writeFailed(path, QStringLiteral("月間予定表はテキストに書き出せません。"));
        return false;
    case PrintChoice::Content::Period: {
        bool cancelled = false;
        const PrintPages::Progress ask = progressFor(QStringLiteral("テキストファイルに書き出しています..."));
        const QList<PeriodDays::Day> days = PeriodDays::collect(
            m_source.dataFolder(), choice.from, choice.to, m_source.screenTexts(),
            [&](qsizetype done, qsizetype total) { return !(cancelled = !ask(done, total)); });
        m_progress.reset();
        if (cancelled)
            return false;
        bytes = TextExport::period(days);
        break;
    }
    case PrintChoice::Content::ToDo:
    case PrintChoice::Content::Memo: {
        const bool todo = choice.content == PrintChoice::Content::ToDo;
        bytes = TextExport::page(PrintPages::contentName(choice.content),
                                 PeriodDays::text(m_source.dataFolder(),
                                                  todo ? DataFileNames::kToDo : DataFileNames::kMemo,
                                                  m_source.screenTexts()));
        break;
    }
    }
    if (!FileReplace::replace(path, bytes)) {
        writeFailed(path, errnoText());
        return false;
    }
    return true;
}
