// The five memo pages and their files.
#include "mainwindow/schedule.h"

#include "mainwindow/PageEditorText.h"
#include "mainwindow/PageFiller.h"

#include "schedule/PageFile.h"
#include "schedule/RecoveryJournal.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/MessageService.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScopeGuard>
#include <QTabWidget>
#include <QTextDocument>
#include <QTimer>

namespace {
QString quoted(const QString& path)
{
    return u'"' + path + u'"';
}
} // namespace

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
        m_pages[index].viewStale = true;
    }
    memo->document()->setModified(false);
}

void TMainForm::pageShown(int index)
{
    if (index < 0 || index >= Pages::kCount)
        return;
    if (m_pages[index].unshownFill)
        showFilled(index);
    if (!m_pages[index].viewStale)
        return;
    m_pages[index].viewStale = false;
    pageEditor(index)->moveCursor(QTextCursor::Start);
}

void TMainForm::LoadPages()
{
    for (int index : Pages::fileOrder())
        loadPage(index);
}

QString TMainForm::dataFile(DataFileNames::Kind kind) const
{
    if (kind == DataFileNames::Kind::Month)
        return MonthFile;
    return m_pages[size_t(*Pages::indexOf(kind))].file;
}

bool TMainForm::pageFilling(int index) const
{
    return (m_filler && m_filler->filling(index)) || m_pages[index].unshownFill;
}

bool TMainForm::pagesFilling() const
{
    return m_filler && m_filler->filling();
}

void TMainForm::dropFill(int index)
{
    m_filler->cancel(index);
    m_pages[index].unshownFill.reset();
    QPlainTextEdit* memo = pageEditor(index);
    memo->setReadOnly(false);
    memo->setPlaceholderText(QString());
}

void TMainForm::loadPage(int index)
{
    QPlainTextEdit* memo = pageEditor(index);
    const QString& path = pageFile(index);
    if (pageFilling(index)) {
        // Its file is on its way to the page; another date's file is of no use any more.
        if (m_pages[index].loadedFrom == path)
            return;
        dropFill(index);
        putText(index, QString());
        m_pages[index].baseline = FileTextBaseline();
    }
    // A text left unsaved comes back with its page, still unsaved, instead of the file's.
    if (const auto kept = m_keptPages.constFind(path); kept != m_keptPages.cend()) {
        if (!memo->document()->isModified() || PageEditorText::text(memo) != *kept) {
            putText(index, *kept);
            memo->document()->setModified(true);
        }
        return;
    }
    FileTextBaseline& baseline = m_pages[index].baseline;
    // The file holds what the page was loaded from or saved to: reading it again would change
    // nothing, and ToDo and メモ can be large.
    if (m_pages[index].loadedFrom == path && !memo->document()->isModified() &&
        baseline.state() != FileTextBaseline::State::Unreadable &&
        baseline.state() != FileTextBaseline::State::Unknown && m_pages[index].stamp.unchangedSince(path))
        return;
    m_pages[index].fillOverShown = m_pages[index].loadedFrom == path && !memo->document()->isModified() &&
                                   baseline.state() == FileTextBaseline::State::Known;
    m_pages[index].loadedFrom = path;
    m_pages[index].written.reset();
    // A page the user has not changed is filled in the background when its file is large;
    // building its text document here would freeze the window for seconds. One too large to be
    // read at all is refused here, at once, as any other.
    const qint64 size = QFileInfo(path).size();
    if (!memo->document()->isModified() && size >= m_env.largePage && size <= DayFiles::kPageSizeLimit) {
        startFill(index);
        return;
    }
    const PageFile::Loaded loaded = PageFile::load(path);
    m_pages[index].stamp = loaded.stamp;
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
    showUnreadPage(index, loaded, wasUnreadable);
}

void TMainForm::startFill(int index)
{
    QPlainTextEdit* memo = pageEditor(index);
    // What the page showed of another file must not stand for this one while it fills.
    if (!m_pages[index].fillOverShown && !memo->document()->isEmpty())
        putText(index, QString());
    memo->setReadOnly(true);
    memo->setPlaceholderText(QStringLiteral("読み込み中..."));
    m_filler->start(index, pageFile(index));
}

void TMainForm::finishFill(int index)
{
    if (m_filler->filling(index))
        m_filler->finish(index);
    if (m_pages[index].unshownFill)
        showFilled(index);
}

void TMainForm::pageFilled(FilledPage& filled)
{
    const int index = filled.page;
    QPlainTextEdit* memo = pageEditor(index);
    m_pages[index].stamp = filled.loaded.stamp;
    watchFilledPage(index);
    FileTextBaseline& baseline = m_pages[index].baseline;
    const bool wasUnreadable = baseline.state() == FileTextBaseline::State::Unreadable;
    const bool read = filled.loaded.state == PageFile::Loaded::State::Read;
    const bool shownAlready = read && m_pages[index].fillOverShown && baseline.sameAs(filled.baseline);
    m_pages[index].fillOverShown = false;
    if (read)
        baseline = filled.baseline;
    if (read && !shownAlready) {
        m_pages[index].unshownFill = std::move(filled.document);
        // Laid out only once its tab is shown, as any page behind another: laying out every
        // line of a large page costs time and memory the user may never ask for.
        if (Page1->currentIndex() == index)
            showFilled(index);
    } else {
        memo->setReadOnly(false);
        memo->setPlaceholderText(QString());
        if (!read)
            showUnreadPage(index, filled.loaded, wasUnreadable);
        else // the page already shows this text: caret and undo stay
            memo->document()->setModified(false);
    }
    if (m_recoveryAfterFill && !pagesFilling()) {
        m_recoveryAfterFill = false;
        QTimer::singleShot(0, this, &TMainForm::offerRecovery);
    }
}

void TMainForm::showFilled(int index)
{
    QPlainTextEdit* memo = pageEditor(index);
    m_puttingText = true;
    const auto typedAgain = qScopeGuard([this] { m_puttingText = false; });
    PageEditorText::setDocument(memo, std::move(m_pages[index].unshownFill));
    connect(memo->document(), &QTextDocument::contentsChanged, this, &TMainForm::journalSoon);
    memo->document()->setModified(false);
    memo->setReadOnly(false);
    memo->setPlaceholderText(QString());
    m_pages[index].viewStale = false;
}

void TMainForm::showUnreadPage(int index, const PageFile::Loaded& loaded, bool wasUnreadable)
{
    QPlainTextEdit* memo = pageEditor(index);
    const QString& path = pageFile(index);
    FileTextBaseline& baseline = m_pages[index].baseline;
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
    // A page still being filled holds none or part of its file: the file stays as it is.
    if (pageFilling(index))
        return PageFile::SaveAction::Keep;
    const QTextDocument* page = pageEditor(index)->document();
    const FileTextBaseline& baseline = m_pages[index].baseline;
    // An untouched empty page of a date that had no file has nothing to delete: a file another
    // program put there since is its own, and the next load shows it.
    if (!page->isModified() && baseline.state() == FileTextBaseline::State::Missing)
        return PageFile::SaveAction::Keep;
    return PageFile::saveAction(Pages::at(index).dated, page->isEmpty(), page->isModified(),
                                baseline.state() == FileTextBaseline::State::Unreadable);
}

bool TMainForm::pagesNeedSaving() const
{
    for (int index : Pages::fileOrder()) {
        if (!pageFile(index).isEmpty() && pageSaveAction(index) != PageFile::SaveAction::Keep)
            return true;
    }
    return false;
}

TMainForm::SaveOutcome TMainForm::SavePages()
{
    SaveOutcome outcome;
    for (int index : Pages::fileOrder()) {
        QPlainTextEdit* memo = pageEditor(index);
        const QString& path = pageFile(index);
        if (path.isEmpty())
            continue;
        const bool modified = memo->document()->isModified();
        FileTextBaseline& baseline = m_pages[index].baseline;
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
                m_pages[index].stamp = DiskStamp::missing();
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
                const bool write = !baseline.fileHolds(text) || m_pages[index].stamp.changedOnDisk(path);
                if (write)
                    AnsiText::writeBytes(path, bytes);
                // From here the page is modified only when its text leaves what was written,
                // undo back to the text as loaded included.
                memo->document()->setModified(false);
                baseline.setKnown(text);
                m_pages[index].stamp = write ? DiskStamp::take(path, bytes) : DiskStamp::take(path);
                m_pages[index].written = PageEditorText::text(memo);
                m_journal->remove(path);
                m_keptPages.remove(path);
                outcome.dayFilesChanged = outcome.dayFilesChanged || Pages::at(index).dated;
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
