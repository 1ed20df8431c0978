// Files another program changes while the window shows them (a sync tool, a second machine):
// what the user has not changed follows the file at once; what the user has changed stays, and
// a bar offers the save's choices.
#include "mainwindow/schedule.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/ChangedElsewhereBar.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/PageEditorText.h"
#include "mainwindow/PageFiller.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/FileWatch.h"
#include "schedule/MonthGrid.h"
#include "schedule/PageFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

namespace {
constexpr int kBusyRetryMs = 300; // a question or a date change in progress: look again soon
constexpr int kFolderGatherMs = 200;
constexpr int kCopiesAfterMs = 500;
} // namespace

void TMainForm::buildLiveFiles()
{
    m_fileWatch = new FileWatch(this);
    connect(m_fileWatch, &FileWatch::fileChanged, this,
            [this](const QString& path) { shownFileChanged(path); });
    m_liveRetry = new QTimer(this);
    m_liveRetry->setSingleShot(true);
    m_liveRetry->setInterval(kBusyRetryMs);
    connect(m_liveRetry, &QTimer::timeout, this, &TMainForm::checkShownFiles);
    m_copiesSoon = new QTimer(this);
    m_copiesSoon->setSingleShot(true);
    m_copiesSoon->setInterval(kCopiesAfterMs);
    connect(m_copiesSoon, &QTimer::timeout, this, [this] {
        if (DataFolder != m_copiesFolder)
            findConflictCopies();
    });
    // Day files appearing or vanishing change the calendar's marks.
    m_boldDaysSoon = new QTimer(this);
    m_boldDaysSoon->setSingleShot(true);
    m_boldDaysSoon->setInterval(kFolderGatherMs);
    // The files shown all lie in the data folder: its notice is the watch's own.
    connect(m_fileWatch, &FileWatch::folderNamesChanged, m_boldDaysSoon, qOverload<>(&QTimer::start));
    connect(m_boldDaysSoon, &QTimer::timeout, this, [this] {
        if (DataFolder.isEmpty())
            return;
        MonthCalGetMonthInfo(MonthCal->yearShown(), MonthCal->monthShown());
        findConflictCopies();
    });
    connect(m_pageBar, &ChangedElsewhereBar::chosen, this, [this](OutsideEditChoice choice) {
        runCommand([this, choice] { settlePageChangedElsewhere(Page1->currentIndex(), choice); });
    });
    connect(m_monthBar, &ChangedElsewhereBar::chosen, this, [this](OutsideEditChoice choice) {
        runCommand([this, choice] { settleMonthChangedElsewhere(choice); });
    });
    connect(Page1, &QTabWidget::currentChanged, this, &TMainForm::updateChangeBars);
}

void TMainForm::watchShownFiles()
{
    if (!m_env.watchFiles)
        return;
    // Each file is compared with what the window read or wrote of it, so none is read again
    // here; one still being read is given when its text arrives (pageFilled).
    QHash<QString, FileWatch::Seen> files;
    for (int index = 0; index < Pages::kCount; ++index) {
        const Page& page = m_pages[size_t(index)];
        if (!page.file.isEmpty())
            files.insert(page.file, m_filler && m_filler->filling(index) ? FileWatch::Seen()
                                                                         : FileWatch::Seen(page.stamp));
    }
    if (!MonthFile.isEmpty())
        files.insert(MonthFile, m_monthStamp);
    m_fileWatch->setFiles(files);
    // A new folder's copies are looked for once the window is up: listing decades of days is no
    // part of showing one.
    if (DataFolder != m_copiesFolder) {
        if (!m_copiesSoon->isActive())
            m_copiesSoon->start();
    } else
        updateCopyMark(); // the copies of the day now shown come first
    // What changes after the reading is told by the watch: it compares with the stamps of that
    // reading. A file told as changed elsewhere before is looked at again at once, so a bar that
    // still holds stays where it was.
    QStringList toldBefore;
    for (Page& page : m_pages) {
        if (page.changedElsewhere)
            toldBefore << page.file;
        page.changedElsewhere = false;
    }
    if (m_monthChangedElsewhere)
        toldBefore << MonthFile;
    m_monthChangedElsewhere = false;
    for (const QString& path : std::as_const(toldBefore))
        shownFileChanged(path);
    updateChangeBars();
}

void TMainForm::watchFilledPage(int index)
{
    if (m_env.watchFiles)
        m_fileWatch->know(m_pages[size_t(index)].file, m_pages[size_t(index)].stamp);
}

void TMainForm::checkShownFiles()
{
    for (int index = 0; index < Pages::kCount; ++index)
        shownFileChanged(pageFile(index));
    shownFileChanged(MonthFile);
}

bool TMainForm::busyForOutsideChanges() const
{
    // Never under a question, a save or a date change: they decide about the same files.
    return m_changingDate || m_unattended || m_closing || QApplication::activeModalWidget() != nullptr;
}

void TMainForm::shownFileChanged(const QString& path)
{
    if (path.isEmpty())
        return;
    if (busyForOutsideChanges()) {
        m_liveRetry->start();
        return;
    }
    try {
        for (int index = 0; index < Pages::kCount; ++index) {
            if (pageFile(index) == path)
                pageFileChanged(index);
        }
        if (path == MonthFile)
            monthFileChanged();
    } catch (const EQuavError& failure) {
        // The next save reads the file again and tells what stands in its way.
        Q_UNUSED(failure);
    }
    updateChangeBars();
}

void TMainForm::pageFileChanged(int index)
{
    Page& page = m_pages[size_t(index)];
    // Its file is being read already; the filled page is compared when it is saved.
    if (pageFilling(index) || page.changedElsewhere || page.stamp.unchangedSince(page.file))
        return;
    QPlainTextEdit* memo = page.editor;
    const bool changedHere = memo->document()->isModified() || m_keptPages.contains(page.file);
    if (changedHere) {
        // A vanished file is written again by the next save; nothing of theirs to lose.
        page.changedElsewhere = page.stamp.changedOnDisk(page.file);
        return;
    }
    // Same bytes under a new time (a touch, a stamp too fresh to trust): nothing to show anew,
    // and a reload would drop the selection the user or a search made.
    if (QFileInfo::exists(page.file) && !page.stamp.changedOnDisk(page.file))
        return;
    // Caret, selection and scroll position stay where the new text still has them.
    const int anchor = memo->textCursor().anchor();
    const int caret = memo->textCursor().position();
    const int scroll = memo->verticalScrollBar()->value();
    const bool stale = page.viewStale;
    loadPage(index);
    if (pageFilling(index))
        return;
    page.viewStale = stale;
    QTextCursor cursor(memo->document());
    const int end = memo->document()->characterCount() - 1;
    cursor.setPosition(std::min(anchor, end));
    cursor.setPosition(std::min(caret, end), QTextCursor::KeepAnchor);
    memo->setTextCursor(cursor);
    memo->verticalScrollBar()->setValue(scroll);
}

void TMainForm::monthFileChanged()
{
    if (m_monthChangedElsewhere || !m_monthStamp.changedOnDisk(MonthFile))
        return;
    // A cell being typed into counts as changed: loading would close its editor over the text.
    if (jvStringGrid1->EditorMode() || monthChangedHere()) {
        m_monthChangedElsewhere = true;
        return;
    }
    // The current cell stays where the new month still has it.
    fillMonth(MonthGrid::read(MonthFile));
}

void TMainForm::updateChangeBars()
{
    const int shown = Page1->currentIndex();
    if (shown >= 0 && m_pages[size_t(shown)].changedElsewhere)
        m_pageBar->showFor(pageFile(shown));
    else
        m_pageBar->hide();
    if (m_monthChangedElsewhere)
        m_monthBar->showFor(MonthFile);
    else
        m_monthBar->hide();
}

void TMainForm::settlePageChangedElsewhere(int index, OutsideEditChoice choice)
{
    if (index < 0 || index >= Pages::kCount || !m_pages[size_t(index)].changedElsewhere)
        return;
    Page& page = m_pages[size_t(index)];
    page.changedElsewhere = false;
    const QString text = PageFile::fileText(PageEditorText::text(page.editor));
    settlePageOutsideEdit(index, AnsiText::encode(text), choice);
    updateChangeBars();
}

void TMainForm::settleMonthChangedElsewhere(OutsideEditChoice choice)
{
    if (!m_monthChangedElsewhere)
        return;
    m_monthChangedElsewhere = false;
    settleMonthOutsideEdit(choice);
    updateChangeBars();
}
