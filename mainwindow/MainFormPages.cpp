// The five memo pages and their files.
#include "mainwindow/schedule.h"

#include "mainwindow/PageEditorText.h"

#include "mainwindow/model/PageFile.h"
#include "mainwindow/model/RecoveryJournal.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/MessageService.h"

#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTabWidget>

namespace {
// Pages by index: ToDo, メモ, 予定, 日誌, 記念日. Loading and saving go 日誌, 予定, ToDo, メモ, 記念日.
constexpr int kFileOrder[] = {3, 2, 0, 1, 4};

bool belongsToDate(int index)
{
    return index >= 2;
}

QString quoted(const QString& path)
{
    return u'"' + path + u'"';
}
} // namespace

QString& TMainForm::pageFile(int index)
{
    switch (index) {
    case 0:
        return ToDoFile;
    case 1:
        return MemoFile;
    case 2:
        return PlanFile;
    case 3:
        return DiaryFile;
    default:
        return AnnivFile;
    }
}

void TMainForm::putText(int index, const QString& text)
{
    QPlainTextEdit* memo = pageEditor(index);
    // A page filled from its file holds nothing the journal could lose.
    m_puttingText = true;
    const auto typedAgain = qScopeGuard([this] { m_puttingText = false; });
    if (memo->isVisible()) {
        PageEditorText::setText(memo, text);
    } else {
        // A page behind another tab is laid out when it is shown, not now: the date change
        // refills three such pages every time.
        PageEditorText::setText(memo->document(), text);
        m_pageViewStale[index] = true;
    }
    memo->document()->setModified(false);
}

void TMainForm::pageShown(int index)
{
    if (index < 0 || index >= int(m_pageViewStale.size()) || !m_pageViewStale[index])
        return;
    m_pageViewStale[index] = false;
    pageEditor(index)->moveCursor(QTextCursor::Start);
}

void TMainForm::LoadPages()
{
    for (int index : kFileOrder)
        loadPage(index);
}

void TMainForm::loadPage(int index)
{
    QPlainTextEdit* memo = pageEditor(index);
    const QString& path = pageFile(index);
    // A text left unsaved comes back with its page, still unsaved, instead of the file's.
    if (const auto kept = m_keptPages.constFind(path); kept != m_keptPages.cend()) {
        if (!memo->document()->isModified() || PageEditorText::text(memo) != *kept) {
            putText(index, *kept);
            memo->document()->setModified(true);
        }
        return;
    }
    FileTextBaseline& baseline = m_pageBaseline[index];
    // The file holds what the page was loaded from or saved to: reading it again would change
    // nothing, and ToDo and メモ can be large.
    if (m_pageLoadedFrom[index] == path && !memo->document()->isModified() &&
        baseline.state() != FileTextBaseline::State::Unreadable &&
        baseline.state() != FileTextBaseline::State::Unknown && m_pageStamp[index].unchangedSince(path))
        return;
    m_pageLoadedFrom[index] = path;
    m_pageWritten[index].reset();
    const PageFile::Loaded loaded = PageFile::load(path);
    m_pageStamp[index] = loaded.stamp;
    const bool wasUnreadable = baseline.state() == FileTextBaseline::State::Unreadable;
    if (loaded.state == PageFile::Loaded::State::Read) {
        // An unmodified page holds what was last read or written, so the editor's text need
        // not be built to see that the file says the same.
        const bool unchanged = memo->document()->isModified()
                                   ? PageEditorText::text(memo) == loaded.editorText
                                   : baseline.fileHolds(loaded.text);
        baseline.setKnown(loaded.text);
        if (unchanged) {
            // Caret and undo stay; the page now matches its file, so it counts as unmodified.
            memo->document()->setModified(false);
            return;
        }
        putText(index, loaded.editorText);
        return;
    }
    if (loaded.state == PageFile::Loaded::State::Missing)
        baseline.setMissing();
    else
        baseline.setUnreadable();
    if (!memo->document()->isEmpty() || memo->document()->isModified())
        putText(index, QString());
    // Tell the user once, not at every reload of the same date.
    if (baseline.state() == FileTextBaseline::State::Unreadable && !wasUnreadable)
        m_env.messages->show(loaded.refusal == FileBytes::Refusal::TooLarge
                                 ? QStringLiteral("ファイル") + quoted(path) +
                                       QStringLiteral("は大きすぎるため読み込みませんでした（%1 MB まで）。\n"
                                                      "ファイルはそのまま残します。")
                                           .arg(DayFiles::kPageSizeLimit >> 20)
                                 : QStringLiteral("ファイル") + quoted(path) +
                                       QStringLiteral("を読み込めませんでした。"),
                             MessageService::Icon::Error, MessageService::Buttons::Ok);
}

PageFile::SaveAction TMainForm::pageSaveAction(int index) const
{
    const QTextDocument* page = pageEditor(index)->document();
    const FileTextBaseline& baseline = m_pageBaseline[index];
    // An untouched empty page of a date that had no file has nothing to delete: a file another
    // program put there since is its own, and the next load shows it.
    if (!page->isModified() && baseline.state() == FileTextBaseline::State::Missing)
        return PageFile::SaveAction::Keep;
    return PageFile::saveAction(belongsToDate(index), page->isEmpty(), page->isModified(),
                                baseline.state() == FileTextBaseline::State::Unreadable);
}

bool TMainForm::pagesNeedSaving() const
{
    for (int index : kFileOrder) {
        if (!pageFile(index).isEmpty() && pageSaveAction(index) != PageFile::SaveAction::Keep)
            return true;
    }
    return false;
}

TMainForm::SaveOutcome TMainForm::SavePages()
{
    SaveOutcome outcome;
    for (int index : kFileOrder) {
        QPlainTextEdit* memo = pageEditor(index);
        const QString& path = pageFile(index);
        if (path.isEmpty())
            continue;
        const bool modified = memo->document()->isModified();
        FileTextBaseline& baseline = m_pageBaseline[index];
        try {
            switch (pageSaveAction(index)) {
            case PageFile::SaveAction::Keep:
                break;
            case PageFile::SaveAction::Delete:
                if (!settlePageOutsideEdit(index, QByteArray()))
                    break;
                outcome.dayFilesChanged = PageFile::remove(path) || outcome.dayFilesChanged;
                memo->document()->setModified(false);
                baseline.setMissing();
                m_pageStamp[index] = DiskStamp::missing();
                // Only an emptying by the user settles an entry; a page that was never filled
                // here says nothing about the journal.
                if (modified) {
                    m_journal->remove(path);
                    m_keptPages.remove(path);
                }
                break;
            case PageFile::SaveAction::Write: {
                const QString text = PageFile::fileText(PageEditorText::text(memo));
                const QByteArray bytes = AnsiText::encode(text);
                if (!settlePageOutsideEdit(index, bytes))
                    break;
                // Typed and taken back: the file says this already and keeps its bytes, unless
                // another program changed it and the user chose to keep the page's text.
                const bool write = !baseline.fileHolds(text) || m_pageStamp[index].changedOnDisk(path);
                if (write)
                    AnsiText::writeBytes(path, bytes);
                // From here the page is modified only when its text leaves what was written,
                // undo back to the text as loaded included.
                memo->document()->setModified(false);
                baseline.setKnown(text);
                m_pageStamp[index] = write ? DiskStamp::take(path, bytes) : DiskStamp::take(path);
                m_pageWritten[index] = PageEditorText::text(memo);
                m_journal->remove(path);
                m_keptPages.remove(path);
                outcome.dayFilesChanged = outcome.dayFilesChanged || belongsToDate(index);
                break;
            }
            }
        } catch (const EQuavError&) {
            // The user already chose to go on with this page kept in the journal.
            if (m_keptPages.contains(path)) {
                m_keptPages.insert(path, PageEditorText::text(memo));
                if (journalPage(index)) {
                    outcome.keptInJournal = true;
                    continue;
                }
                reportJournalFailure();
            }
            outcome.ok = false;
            if (m_unattended)
                continue;
            m_env.messages->show(QStringLiteral("ファイル") + quoted(path) +
                                     QStringLiteral("は登録できませんでした。"),
                                 MessageService::Icon::Error, MessageService::Buttons::Ok);
        }
    }
    return outcome;
}
