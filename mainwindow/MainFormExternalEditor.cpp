// Editing the page shown in an external editor.
#include "mainwindow/schedule.h"

#include "mainwindow/PageEditorText.h"
#include "controls/TrayIcon.h"
#include "schedule/DataFileNames.h"
#include "schedule/DayFiles.h"
#include "schedule/EditorHandOff.h"
#include "schedule/LineBreaks.h"
#include "schedule/RecoveryJournal.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/ProcessRunner.h"
#include "platform/WorkFile.h"

#include "platform/DefaultEditor.h"
#include "platform/MessageService.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>

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
    // The editor gets the page's whole text, never the part filled so far.
    finishFill(std::max(0, Page1->currentIndex()));
    QPlainTextEdit* memo = ActiveMemo;
    const QString workFile = DayFiles::joinPath(DataFolder, DataFileNames::kWork);
    const QByteArray handedOver = LineBreaks::toCrLf(PageEditorText::text(memo)).toUtf8();
    // A hand-off to a program of the platform: its own encoding, UTF-8 without a mark.
    WorkFile::write(workFile, handedOver);
    m_editorWorkFile = workFile;

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

    QElapsedTimer running;
    running.start();
    const QString editor = editorPath();
    const ProcessRunner::Outcome outcome =
        ProcessRunner::run(editor, DefaultEditor::arguments(editor, workFile));
    if (outcome == ProcessRunner::Outcome::NotStarted) {
        backToNormal();
        throw EInOutError(QStringLiteral("外部エディタを起動できません。"));
    }
    if (outcome == ProcessRunner::Outcome::LeftRunning) {
        // The session ended under the editor: the close took the work file and the editor lives on.
        if (!m_closedUnattended)
            backToNormal();
        return;
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
        if (m_closedUnattended)
            return; // the session ended while the box was up: the close took the work file
        if (answer != MessageService::Answer::Ok) {
            backToNormal();
            return;
        }
    }
    QString edited;
    try {
        edited = AnsiText::toCrLf(WorkFile::decode(AnsiText::readBytes(workFile)));
    } catch (const EQuavError&) {
        backToNormal();
        throw;
    }
    edited = LineBreaks::toLf(edited);
    if (edited != PageEditorText::text(memo))
        PageEditorText::setText(memo, edited);
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
        if (!m_keptEditor.isEmpty() && m_editorStandIn.isEmpty())
            m_editorStandIn = EditorPath;
    }
    return EditorPath;
}

void TMainForm::leaveEditorRunning()
{
    ProcessRunner::stopWaiting();
    int index = 0;
    while (index < Pages::kCount - 1 && pageEditor(index) != ActiveMemo)
        ++index;
    EditorHandOff handOff;
    handOff.workFile = m_editorWorkFile;
    handOff.page.target = pageFile(index);
    handOff.page.label = pageLabel(index) + QStringLiteral("（終了後に外部エディタで保存された内容）");
    handOff.page.page = index;
    handOff.page.base = m_pages[index].stamp;
    handOff.page.bytes = m_editorTaken;
    try {
        handOff.save(*m_journal, DataFolder);
    } catch (const EQuavError&) {
        // The work file itself stays in the data folder.
    }
}

void TMainForm::settleEditorHandOff()
{
    try {
        EditorHandOff::settle(*m_journal, DataFolder, m_env.now());
    } catch (const EQuavError&) {
        // The record stays for the next start.
    }
}
