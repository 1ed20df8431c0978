// Editing the page shown in an external editor.
#include "mainwindow/schedule.h"

#include "controls/TrayIcon.h"
#include "mainwindow/model/DayFiles.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/ProcessRunner.h"

#include "platform/DefaultEditor.h"
#include "platform/MessageService.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>

namespace {
// An editor that ends sooner than this without touching the file was not used to edit it.
constexpr qint64 kHandOffMs = 1000;

bool workFileHolds(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}
} // namespace

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

    const QByteArray handedOver = text.toUtf8();
    QElapsedTimer running;
    running.start();
    const QString editor = editorPath();
    if (!ProcessRunner::runAndWait(editor, DefaultEditor::arguments(editor, workFile))) {
        backToNormal();
        throw EInOutError(QStringLiteral("外部エディタを起動できません。"));
    }
    if (running.elapsed() < kHandOffMs && workFileHolds(workFile, handedOver)) {
        // The editor most likely gave the file to a window already open and returned: wait for
        // the user instead of reading back a file nobody has edited yet.
        const MessageService::Answer answer = m_env.messages->show(
            QStringLiteral(
                "ページを外部エディタで編集中です。\n編集を終えて保存したら OK を押してください。\n"
                "キャンセルを押すとページは変わりません。"),
            MessageService::Icon::Information, MessageService::Buttons::OkCancel,
            QStringLiteral("QuavScheduler"));
        if (answer != MessageService::Answer::Ok) {
            backToNormal();
            return;
        }
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

const QString& TMainForm::editorPath()
{
    // Searched once at most: an editor found is kept, and so is finding none, until the user
    // names one.
    if (EditorPath.isEmpty() && !m_editorSearched) {
        m_editorSearched = true;
        EditorPath = m_env.findDefaultEditor ? m_env.findDefaultEditor() : DefaultEditor::path();
    }
    return EditorPath;
}
