// The 検索 command: what the search window searches, and the way to a hit.
#include "mainwindow/schedule.h"

#include "mainwindow/PageEditorText.h"
#include "controls/jvStringGrid.h"
#include "mainwindow/MonthCalendar.h"
#include "schedule/DataFileNames.h"
#include "platform/Failure.h"
#include "search/SearchWindow.h"
#include "search/model/SearchPages.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTabWidget>

namespace {

void selectText(QPlainTextEdit* memo, qsizetype start, qsizetype length)
{
    // The text may have changed since the search: stay inside it.
    const int end = memo->document()->characterCount() - 1;
    const int from = std::clamp(int(start), 0, end);
    QTextCursor cursor(memo->document());
    cursor.setPosition(from);
    cursor.setPosition(std::clamp(int(start + length), from, end), QTextCursor::KeepAnchor);
    memo->setTextCursor(cursor);
    memo->ensureCursorVisible();
    memo->setFocus();
}

int pageIndex(SearchPage page)
{
    return Pages::indexOf(fileKind(page)).value_or(Pages::kCount - 1);
}

} // namespace

void TMainForm::buildSearch()
{
    Find1 = new QAction(QStringLiteral("検索(&F)..."), this);
    Find1->setObjectName(QStringLiteral("Find1"));
    Find1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    Find1->setStatusTip(
        QStringLiteral("すべての日誌、予定、記念日、ToDo、メモと予定表から文字列を探します。"));
    Find1->setToolTip(Find1->statusTip());
    connect(Find1, &QAction::triggered, this, [this] { runCommand(&TMainForm::Find1Click); });
    Edit1->addSeparator();
    Edit1->addAction(Find1);
}

void TMainForm::Find1Click()
{
    if (!m_searchWindow) {
        m_searchWindow = new SearchWindow(this);
        m_searchWindow->OnPrepare = [this] { return searchRequest(); };
        m_searchWindow->OnGoTo = [this](const SearchHit& hit) {
            try {
                goToSearchHit(hit);
            } catch (const EQuavError& failure) {
                reportFailure(failure.message());
            }
        };
    }
    m_searchWindow->show();
    m_searchWindow->raise();
    m_searchWindow->activateWindow();
    m_searchWindow->Query->setFocus();
    m_searchWindow->Query->selectAll();
}

void TMainForm::closeSearch()
{
    if (m_searchWindow)
        m_searchWindow->close();
}

SearchRequest TMainForm::searchRequest() const
{
    SearchRequest request;
    request.folder = DataFolder;
    request.annivYear = selectedDate().year();
    request.columnCaptions = Memo5;
    // What is on screen wins over its file; a page whose file could not be read shows nothing
    // of it, and one still being filled shows only part, so that file is searched as it is.
    for (int index = 0; index < Pages::kCount; ++index) {
        const Page& page = m_pages[size_t(index)];
        if (!page.file.isEmpty() && !pageFilling(index) &&
            page.baseline.state() != FileTextBaseline::State::Unreadable)
            request.pageTexts.append({page.file, PageEditorText::text(page.editor)});
    }
    const bool unreadableMonthUntouched =
        m_monthBaseline.state() == GridBaseline::State::Unreadable && m_monthBaseline.matches(monthText());
    if (!MonthFile.isEmpty() && !unreadableMonthUntouched) {
        request.gridPath = MonthFile;
        for (int r = 0; r < jvStringGrid1->RowCount(); ++r)
            request.gridRows.append(jvStringGrid1->Rows(r));
    }
    return request;
}

void TMainForm::goToSearchHit(const SearchHit& hit)
{
    if (isHidden() || isMinimized())
        Restore1Click();
    if (hit.date.isValid()) {
        QDate target = hit.date;
        if (hit.page == SearchPage::Anniv) {
            // The anniversary in the year shown now.
            target = DataFileNames::anniversary(selectedDate().year(), hit.date.month(), hit.date.day());
        }
        MonthCal->setSelectedDate(target);
        MonthCalClick();
        // A page that could not be saved keeps the previous date: stay there.
        if (m_shownDate != target)
            return;
    }
    activateWindow();
    raise();
    if (hit.page == SearchPage::Grid) {
        if (hit.column < jvStringGrid1->ColCount())
            jvStringGrid1->setCol(hit.column);
        jvStringGrid1->setFocus();
        return;
    }
    const int index = pageIndex(hit.page);
    finishFill(index);
    Page1->setCurrentIndex(index);
    selectText(pageEditor(index), hit.start, hit.length);
}
