// Keeping typed text safe beside the data folder: the recovery journal, files changed by other
// programs, and the close where nobody can answer.
#include "mainwindow/schedule.h"

#include "mainwindow/PageEditorText.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/OutsideEditDialog.h"
#include "schedule/EditorHandOff.h"
#include "schedule/DayFiles.h"
#include "schedule/DayTexts.h"
#include "schedule/Leftovers.h"
#include "schedule/LineBreaks.h"
#include "schedule/PageFile.h"
#include "schedule/RecoveryJournal.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/MessageService.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>

namespace {
// An emptied dated page has no file, as a save would leave it; an index no page has counts as
// dated, as the journal of an earlier version may hold one.
bool removedWhenEmpty(int page)
{
    return page >= Pages::kCount || (page >= 0 && Pages::at(page).dated);
}
} // namespace

void TMainForm::setupRecovery()
{
    m_journal = std::make_unique<RecoveryJournal>(
        m_env.recoveryRoot.isEmpty() ? RecoveryJournal::defaultRoot() : m_env.recoveryRoot);
    m_journalTimer = new QTimer(this);
    m_journalTimer->setSingleShot(true);
    m_journalTimer->setInterval(kJournalDelayMs);
    connect(m_journalTimer, &QTimer::timeout, this, &TMainForm::journalAfterPause);
    // Typing only starts the timer; the text is taken when it runs out.
    for (int index = 0; index < Pages::kCount; ++index)
        connect(pageEditor(index)->document(), &QTextDocument::contentsChanged, this,
                &TMainForm::journalSoon);
    connect(jvStringGrid1->InplaceEditor(), &QLineEdit::textChanged, this, &TMainForm::journalSoon);
}

void TMainForm::journalSoon()
{
    // Not restarted by every key: steady typing without a pause is journaled all the same.
    if (!m_puttingText && !m_journalTimer->isActive())
        m_journalTimer->start();
}

bool TMainForm::journalNow()
{
    const bool ok = journalQuietly();
    if (!ok)
        reportJournalFailure();
    return ok;
}

void TMainForm::journalAfterPause()
{
    if (!journalQuietly(true))
        reportJournalFailure();
}

bool TMainForm::journalQuietly(bool background)
{
    m_journalTimer->stop();
    bool ok = true;
    for (int index = 0; index < Pages::kCount; ++index)
        ok = journalPage(index, background) && ok;
    ok = journalMonth() && ok;
    // Written now, every page replaced what the background still had to write.
    if (background)
        ok = ok && !m_backgroundJournalFailed;
    else
        m_backgroundJournalFailed = false;
    if (ok) {
        m_journalError.clear();
        m_journalFailureShown = false; // a later failure is news again
    }
    return ok;
}

void TMainForm::reportJournalFailure()
{
    // Once: the journal is tried again after every pause in typing.
    if (m_journalFailureShown || m_unattended)
        return;
    m_journalFailureShown = true;
    m_env.messages->show(QStringLiteral("入力を復元用に保管できませんでした。\n") + m_journalError +
                             QStringLiteral("\n\n入力は画面に残っています。ファイルに保存されるまでは、"
                                            "プログラムが終了すると失われます。"),
                         MessageService::Icon::Error, MessageService::Buttons::Ok);
}

QString TMainForm::pageLabel(int index) const
{
    return Pages::label(index, m_shownDate);
}

void TMainForm::journaledInBackground(const QString& failure)
{
    m_backgroundJournalFailed = !failure.isEmpty();
    if (failure.isEmpty())
        return;
    m_journalError = failure;
    reportJournalFailure();
}

bool TMainForm::journalPage(int index, bool background)
{
    const QString path = pageFile(index);
    // A page still being filled has nothing typed, and its entry of an earlier run stays.
    if (path.isEmpty() || pageFilling(index))
        return true;
    QPlainTextEdit* memo = pageEditor(index);
    try {
        if (!memo->document()->isModified() ||
            (m_pages[index].written && *m_pages[index].written == PageEditorText::text(memo))) {
            if (m_journalReady)
                m_journal->remove(path);
            return true;
        }
        RecoveryJournal::Entry entry;
        entry.target = path;
        entry.label = pageLabel(index);
        entry.page = index;
        entry.base = m_pages[index].stamp;
        entry.taken = m_env.now();
        if (background && memo->document()->characterCount() >= m_env.largePage) {
            // Only the copy of the characters is made here; the worker turns them into bytes,
            // letting go of the characters as their bytes stand.
            m_journal->putInBackground(
                std::move(entry),
                [text = PageEditorText::snapshot(memo->document())]() mutable {
                    return PageFile::fileBytes(text.take());
                },
                this, [this](const QString& failure) { journaledInBackground(failure); });
            return true;
        }
        entry.bytes = AnsiText::encode(PageFile::fileText(PageEditorText::text(memo)));
        m_journal->put(entry);
    } catch (const EQuavError& failure) {
        m_journalError = failure.message();
        return false;
    }
    return true;
}

bool TMainForm::journalMonth()
{
    if (MonthFile.isEmpty())
        return true;
    try {
        if (!monthChangedHere()) {
            if (m_journalReady)
                m_journal->remove(MonthFile);
            return true;
        }
        RecoveryJournal::Entry entry;
        entry.target = MonthFile;
        entry.label = m_shownDate.toString(QStringLiteral("yyyy年MM月")) + QStringLiteral("の予定表");
        entry.base = m_monthStamp;
        entry.taken = m_env.now();
        entry.bytes = AnsiText::encode(monthText());
        m_journal->put(entry);
    } catch (const EQuavError& failure) {
        m_journalError = failure.message();
        return false;
    }
    return true;
}

OutsideEditChoice TMainForm::askOutsideEdit(const QString& path)
{
    if (m_unattended)
        return OutsideEditChoice::KeepBoth;
    if (m_env.askOutsideEdit)
        return m_env.askOutsideEdit(path);
    return askOutsideEditWithDialog(this, path);
}

bool TMainForm::settlePageOutsideEdit(int index, const QByteArray& mine,
                                      std::optional<OutsideEditChoice> given)
{
    const QString& path = pageFile(index);
    if (!m_pages[index].stamp.changedOnDisk(path))
        return true;
    QByteArray theirs;
    try {
        theirs = AnsiText::readBytes(path);
    } catch (const EQuavError&) {
        return true; // nothing readable to keep
    }
    if (theirs == mine)
        return true;
    const OutsideEditChoice choice = given ? *given : askOutsideEdit(path);
    if (choice == OutsideEditChoice::KeepMine) {
        if (given) {
            // Chosen before the save: the file is known as it is now, and the save overwrites it.
            m_pages[index].stamp = DiskStamp::take(path, theirs);
            m_pages[index].baseline.setKnown(PageFile::decode(theirs).text);
        }
        return true;
    }
    // An emptied page has nothing to keep beside the file.
    if (choice == OutsideEditChoice::KeepBoth && !mine.isEmpty())
        AnsiText::writeBytes(RecoveryJournal::copyPathBeside(path, m_env.now()), mine);
    m_pages[index].stamp = DiskStamp::take(path, theirs);
    PageFile::Texts texts = PageFile::decode(theirs);
    putText(index, texts.editorText);
    m_pages[index].baseline.setKnown(std::move(texts.text));
    m_journal->remove(path);
    return false;
}

bool TMainForm::settleMonthOutsideEdit(std::optional<OutsideEditChoice> given)
{
    if (!m_monthStamp.changedOnDisk(MonthFile))
        return true;
    const QByteArray mine = AnsiText::encode(monthText());
    QByteArray theirs;
    try {
        theirs = AnsiText::readBytes(MonthFile);
    } catch (const EQuavError&) {
        return true;
    }
    if (theirs == mine)
        return true;
    // Without changes of ours, the other program's month simply wins.
    const bool changedHere = monthChangedHere();
    const OutsideEditChoice choice = given         ? *given
                                     : changedHere ? askOutsideEdit(MonthFile)
                                                   : OutsideEditChoice::TakeFile;
    if (choice == OutsideEditChoice::KeepMine) {
        if (given) {
            m_monthStamp = DiskStamp::take(MonthFile, theirs);
            m_monthBaseline.setKnown(AnsiText::decode(AnsiText::untilNul(theirs)));
        }
        return true;
    }
    if (choice == OutsideEditChoice::KeepBoth)
        AnsiText::writeBytes(RecoveryJournal::copyPathBeside(MonthFile, m_env.now()), mine);
    fillMonth(theirs);
    m_journal->remove(MonthFile);
    return false;
}

bool TMainForm::moveOnAfterFailedSave()
{
    if (m_unattended)
        return true;
    // The question below promises the texts are kept: it is only asked once they are.
    if (!journalQuietly()) {
        m_journalFailureShown = true;
        m_env.messages->show(QStringLiteral("保存できなかった入力があります。\n"
                                            "復元用に保管することもできなかったため、日付は移動しません。"
                                            "入力は画面に残っています。\n\n") +
                                 m_journalError,
                             MessageService::Icon::Error, MessageService::Buttons::Ok);
        return false;
    }
    const bool moveOn =
        m_env.messages->show(QStringLiteral("保存できなかった入力があります。\n"
                                            "入力を復元用に保管して、選んだ日付へ移動しますか?\n"
                                            "保管した入力は、次に起動したときに戻すことができます。"),
                             MessageService::Icon::Question,
                             MessageService::Buttons::OkCancel) == MessageService::Answer::Ok;
    return moveOn && keepUnsaved();
}

bool TMainForm::keepUnsaved()
{
    if (!journalNow())
        return false;
    for (int index = 0; index < Pages::kCount; ++index)
        if (pageEditor(index)->document()->isModified())
            m_keptPages.insert(pageFile(index), PageEditorText::text(pageEditor(index)));
    if (monthChangedHere())
        m_keptMonths.insert(MonthFile, AnsiText::encode(monthText()));
    return true;
}

void TMainForm::closeUnattended()
{
    if (m_closedUnattended)
        return;
    m_unattended = true;
    if (m_waitingForEditor)
        takeEditorWorkFile();
    // The same sequence as any close; what was not written stays journaled.
    FormCloseQuery();
    if (m_waitingForEditor)
        leaveEditorRunning();
    m_unattended = false;
    m_closedUnattended = true;
}

void TMainForm::takeEditorWorkFile()
{
    // The editor may have saved its file already; it stays open, so take what it holds now.
    try {
        const QByteArray bytes = AnsiText::readBytes(m_editorWorkFile);
        m_editorTaken = bytes;
        const QString edited = LineBreaks::toLf(EditorHandOff::pageText(bytes));
        if (ActiveMemo && edited != PageEditorText::text(ActiveMemo)) {
            PageEditorText::setText(ActiveMemo, edited);
            ActiveMemo->document()->setModified(true);
        }
    } catch (const EQuavError&) {
        m_editorTaken.clear();
    }
}

void TMainForm::adoptLeftovers()
{
    try {
        Leftovers::adopt(*m_journal, DataFolder);
    } catch (const EQuavError& failure) {
        // The temporary stays where it is; the next start offers it again.
        reportFailure(failure.message());
    }
}

void TMainForm::offerRecovery()
{
    if (m_recoveryOffered || m_closedUnattended)
        return;
    // A text given back to a page must not be replaced by its file's text arriving later.
    if (pagesFilling()) {
        m_recoveryAfterFill = true;
        return;
    }
    m_recoveryOffered = true;
    settleEditorHandOff();
    adoptLeftovers();
    const QList<RecoveryJournal::Entry> entries = m_journal->entries(DataFolder);
    if (entries.isEmpty()) {
        m_journalReady = true;
        return;
    }
    QString list;
    for (const RecoveryJournal::Entry& e : entries) {
        list += QStringLiteral("・") + e.label;
        if (e.base.changedOnDisk(e.target))
            list += QStringLiteral("（ファイルが後から変更されているため、別名のファイルに書き込みます）");
        list += u'\n';
    }
    const MessageService::Answer answer = m_env.messages->show(
        QStringLiteral("前回、保存されないまま終了した入力があります。\n\n") + list +
            QStringLiteral("\n復元しますか?\n\n"
                           "OK: 入力をページと予定表に戻します。次の保存でファイルに書き込まれます。\n"
                           "キャンセル: 入力を戻さずに、復元用フォルダの別の場所へ移して残します。"),
        MessageService::Icon::Question, MessageService::Buttons::OkCancel);
    // A session that ended while the question was open leaves the journal as it is.
    if (m_closedUnattended)
        return;
    m_journalReady = true;
    if (answer != MessageService::Answer::Ok) {
        try {
            m_journal->setAside(DataFolder, m_env.now());
        } catch (const EQuavError& failure) {
            reportFailure(failure.message());
        }
        return;
    }
    restoreEntries();
}

void TMainForm::restoreEntries()
{
    QStringList failed;
    for (const RecoveryJournal::Entry& e : m_journal->entries(DataFolder)) {
        try {
            if (e.base.changedOnDisk(e.target)) {
                // Never over a file someone changed after the text was taken.
                AnsiText::writeBytes(RecoveryJournal::copyPathBeside(e.target, m_env.now()), e.bytes);
                m_journal->remove(e.target);
                continue;
            }
            int shown = -1;
            for (int index = 0; index < Pages::kCount && e.page >= 0; ++index)
                if (pageFile(index) == e.target)
                    shown = index;
            if (shown >= 0) {
                finishFill(shown);
                QPlainTextEdit* memo = pageEditor(shown);
                PageEditorText::setText(memo, PageFile::decode(e.bytes).editorText);
                memo->document()->setModified(true);
                m_pages[shown].stamp = e.base;
            } else if (e.page < 0 && e.target == MonthFile) {
                showMonthBytes(e.bytes);
                m_monthStamp = e.base;
            } else {
                // Another date's text: write it where the save would have.
                if (e.bytes.isEmpty() && removedWhenEmpty(e.page))
                    PageFile::remove(e.target);
                else
                    AnsiText::writeBytes(e.target, e.bytes);
                m_journal->remove(e.target);
            }
        } catch (const EQuavError&) {
            failed.append(e.label);
        }
    }
    MonthCalGetMonthInfo(MonthCal->yearShown(), MonthCal->monthShown());
    journalNow();
    if (!failed.isEmpty())
        m_env.messages->show(QStringLiteral("次の入力を元のファイルに書き込めませんでした。"
                                            "入力は復元用フォルダに残しています。\n\n・") +
                                 failed.join(QStringLiteral("\n・")) + u'\n' +
                                 m_journal->folderFor(DataFolder),
                             MessageService::Icon::Error, MessageService::Buttons::Ok);
}
