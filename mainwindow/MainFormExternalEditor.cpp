// Editing the page shown in an external editor.
#include "mainwindow/schedule.h"

#include "controls/TrayIcon.h"
#include "mainwindow/model/DayFiles.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/ProcessRunner.h"

#include <QPlainTextEdit>

void TMainForm::Exec1Click()
{
    try {
        runExternalEditor();
    } catch (const EQuavError& failure) {
        reportFailure(failure.message());
    }
}

void TMainForm::runExternalEditor()
{
    SelectActiveMemo();
    QPlainTextEdit* memo = ActiveMemo;
    const QString workFile = DayFiles::joinPath(DataFolder, DayFiles::kWorkName);
    QString text = memo->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    // A hand-off to a program of the platform: its own encoding, UTF-8 without a mark.
    AnsiText::writeBytes(workFile, text.toUtf8());

    setEnabled(false);
    hide();
    if (TrayIcon)
        TrayIcon->setEnabled(false);
    m_waitingForEditor = true;
    const auto backToNormal = [this] {
        m_waitingForEditor = false;
        if (TrayIcon)
            TrayIcon->setEnabled(true);
        show();
        setEnabled(true);
    };

    if (!ProcessRunner::runAndWait(EditorPath, {workFile})) {
        backToNormal();
        throw EInOutError(QStringLiteral("外部エディタを起動できません。"));
    }
    QString edited;
    try {
        edited = AnsiText::toCrLf(AnsiText::decode(AnsiText::readBytes(workFile)));
    } catch (const EQuavError&) {
        backToNormal();
        throw;
    }
    edited.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (edited != memo->toPlainText())
        memo->setPlainText(edited);
    memo->document()->setModified(true);
    backToNormal();
}
