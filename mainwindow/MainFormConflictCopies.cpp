// Copies a sync tool leaves beside a data file when both computers changed it: marked in the
// status bar and merged with 比較して統合, one copy at a time, the copy removed only once what
// the user took is on disk.
#include "mainwindow/schedule.h"

#include "controls/DialogRunner.h"
#include "controls/jvStringGrid.h"
#include "mainwindow/MenuAction.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/PageEditorText.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/MessageService.h"
#include "schedule/LineBreaks.h"
#include "schedule/MonthGrid.h"
#include "schedule/PageFile.h"
#include "sync/MergeDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QThreadPool>
#include <QToolButton>

namespace {
QString quoted(const QString& path)
{
    return u'"' + QDir::toNativeSeparators(path) + u'"';
}
} // namespace

void TMainForm::buildConflictCopies()
{
    m_mergeAction =
        makeAction(QStringLiteral("Merge1"), QStringLiteral("比較して統合(&M)..."),
                   QStringLiteral("同期ツールが残した競合コピーをファイルと比べて統合します。"), this);
    m_mergeAction->setEnabled(false);
    connect(m_mergeAction, &QAction::triggered, this, [this] { runCommand(&TMainForm::mergeConflictCopy); });
    // Beside 設定, before the separator that sets 終了 apart.
    const QList<QAction*> entries = File1->actions();
    const qsizetype exit = entries.indexOf(Exit1);
    File1->insertAction(exit > 0 && entries[exit - 1]->isSeparator() ? entries[exit - 1] : Exit1,
                        m_mergeAction);

    m_copyMark = new QToolButton;
    m_copyMark->setObjectName(QStringLiteral("ConflictCopyMark"));
    m_copyMark->setAutoRaise(true);
    m_copyMark->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_copyMark->setFocusPolicy(Qt::NoFocus); // reached from the File menu by keyboard
    m_copyMark->setMaximumHeight(17);
    m_copyMark->hide();
    connect(m_copyMark, &QToolButton::clicked, m_mergeAction, &QAction::trigger);
    statusBar()->addPermanentWidget(m_copyMark);
}

void TMainForm::findConflictCopies()
{
    const QString folder = DataFolder;
    m_copiesFolder = folder;
    if (folder.isEmpty()) {
        m_conflictCopies.clear();
        updateCopyMark();
        return;
    }
    // A folder of decades of days takes a while to list: never in the way of the window.
    const QPointer<TMainForm> self(this);
    QThreadPool::globalInstance()->start([self, folder] {
        QList<ConflictCopies::Found> found = ConflictCopies::inFolder(folder);
        QMetaObject::invokeMethod(
            qApp,
            [self, folder, found = std::move(found)] {
                if (!self || self->DataFolder != folder)
                    return;
                self->m_conflictCopies = found;
                self->updateCopyMark();
            },
            Qt::QueuedConnection);
    });
}

std::optional<ConflictCopies::Found> TMainForm::nextConflictCopy() const
{
    // The copies of what is shown come first: the day the user looks at.
    for (const ConflictCopies::Found& found : m_conflictCopies) {
        if (showsFile(DayFiles::joinPath(DataFolder, found.file)))
            return found;
    }
    if (m_conflictCopies.isEmpty())
        return std::nullopt;
    return m_conflictCopies.first();
}

void TMainForm::updateCopyMark()
{
    const std::optional<ConflictCopies::Found> next = nextConflictCopy();
    m_mergeAction->setEnabled(next.has_value());
    if (!next) {
        m_copyMark->hide();
        return;
    }
    QString text = QStringLiteral("競合コピー: ") + next->file;
    if (m_conflictCopies.size() > 1)
        text += QStringLiteral(" ほか%1件").arg(m_conflictCopies.size() - 1);
    m_copyMark->setText(text);
    QStringList names;
    for (const ConflictCopies::Found& found : m_conflictCopies)
        names << found.copy;
    m_copyMark->setToolTip(
        QStringLiteral("同期ツールが残した競合コピーがあります。クリックすると比較して統合します。\n") +
        names.join(u'\n'));
    m_copyMark->show();
}

bool TMainForm::showsFile(const QString& path) const
{
    if (path == MonthFile)
        return true;
    for (int index = 0; index < Pages::kCount; ++index) {
        if (pageFile(index) == path)
            return true;
    }
    return false;
}

bool TMainForm::showDataFile(const QString& fileName)
{
    const std::optional<DataFileNames::Parsed> parsed = DataFileNames::parse(QStringView(fileName));
    if (!parsed)
        return false;
    const QString path = DayFiles::joinPath(DataFolder, fileName);
    if (showsFile(path))
        return true;
    const QDate today = m_shownDate.isValid() ? m_shownDate : selectedDate();
    QDate target = parsed->date;
    if (parsed->kind == DataFileNames::Kind::Anniv)
        target = DataFileNames::anniversary(today.year(), parsed->date.month(), parsed->date.day());
    if (!target.isValid())
        return false;
    // The date change saves what is shown, as a click on the calendar does.
    MonthCal->setSelectedDate(target);
    MonthCalClick();
    return showsFile(path);
}

void TMainForm::mergeConflictCopy()
{
    if (DataFolder.isEmpty())
        return;
    m_conflictCopies = ConflictCopies::inFolder(DataFolder);
    const std::optional<ConflictCopies::Found> next = nextConflictCopy();
    updateCopyMark();
    if (!next || !showDataFile(next->file))
        return;
    const QString copyPath = DayFiles::joinPath(DataFolder, next->copy);
    const QString path = DayFiles::joinPath(DataFolder, next->file);
    const bool merged = path == MonthFile ? mergeMonthCopy(copyPath) : mergePageCopy(path, copyPath);
    if (merged && !QFile::remove(copyPath) && QFile::exists(copyPath)) {
        m_env.messages->show(QStringLiteral("競合コピー") + quoted(copyPath) +
                                 QStringLiteral("を削除できませんでした。"),
                             MessageService::Icon::Error, MessageService::Buttons::Ok);
    }
    m_conflictCopies = ConflictCopies::inFolder(DataFolder);
    updateCopyMark();
}

bool TMainForm::mergePageCopy(const QString& path, const QString& copyPath)
{
    int index = 0;
    while (index < Pages::kCount && pageFile(index) != path)
        ++index;
    if (index == Pages::kCount)
        return false;
    Page& page = m_pages[size_t(index)];
    Page1->setCurrentWidget(page.editor);
    if (pageFilling(index) || page.baseline.state() == FileTextBaseline::State::Unreadable) {
        // Nothing whole to compare the copy with; the file is left to the user.
        m_env.messages->show(QStringLiteral("ファイル") + quoted(path) +
                                 QStringLiteral("の内容が表示されていないため、比較できません。"),
                             MessageService::Icon::Warning, MessageService::Buttons::Ok);
        return false;
    }
    const PageFile::Loaded copy = PageFile::load(copyPath);
    if (copy.state != PageFile::Loaded::State::Read) {
        m_env.messages->show(QStringLiteral("競合コピー") + quoted(copyPath) +
                                 QStringLiteral("を読めませんでした。"),
                             MessageService::Icon::Error, MessageService::Buttons::Ok);
        return false;
    }
    // The page as shown is what the save would write, typing not yet saved included.
    const QString mine = PageFile::fileText(PageEditorText::text(page.editor));
    MergeDialog dialog(QFileInfo(path).fileName(), mine, QFileInfo(copyPath).fileName(), copy.text, this);
    if (!dialogRunner().run(dialog) || !dialog.choice())
        return false;
    const QString taken = dialog.mergedText();
    if (taken != mine) {
        PageEditorText::setText(page.editor, LineBreaks::toLf(taken));
        page.editor->document()->setModified(true);
    }
    // The copy goes only once what was taken is in the file.
    const SaveOutcome saved = SavePages();
    if (saved.dayFilesChanged)
        MonthCalGetMonthInfo(MonthCal->yearShown(), MonthCal->monthShown());
    return saved.ok && !saved.keptInJournal && !page.editor->document()->isModified();
}

bool TMainForm::mergeMonthCopy(const QString& copyPath)
{
    std::optional<QByteArray> copy;
    try {
        copy = MonthGrid::read(copyPath);
    } catch (const EQuavError&) {
    }
    if (!copy) {
        m_env.messages->show(QStringLiteral("競合コピー") + quoted(copyPath) +
                                 QStringLiteral("を読めませんでした。"),
                             MessageService::Icon::Error, MessageService::Buttons::Ok);
        return false;
    }
    const QString mine = monthText();
    MergeDialog dialog(QFileInfo(MonthFile).fileName(), mine, QFileInfo(copyPath).fileName(),
                       AnsiText::decode(AnsiText::untilNul(*copy)), this);
    // Lines of a month are its days: adding the copy's after the file's would repeat days.
    dialog.TakeBoth->setEnabled(false);
    dialog.TakeBoth->setToolTip(QStringLiteral("予定表では、どちらか一方を選んでください"));
    if (!dialogRunner().run(dialog) || !dialog.choice())
        return false;
    if (*dialog.choice() == MergeText::Choice::Copy)
        showMonthBytes(*copy); // the baseline stays the file's, so the save writes the copy's month
    SaveMonth();
    return !monthNeedsWrite(monthText());
}
