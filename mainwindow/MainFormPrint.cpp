// The print commands of the File menu: what they read of the window, and the dialog.
#include "mainwindow/schedule.h"

#include "controls/DialogRunner.h"
#include "controls/jvStringGrid.h"
#include "mainwindow/MenuAction.h"
#include "mainwindow/PageEditorText.h"
#include "print/PrintChoiceDialog.h"
#include "print/PrintJob.h"
#include "print/PrintSource.h"
#include "schedule/DayFiles.h"

#include <QFileInfo>
#include <QMenu>
#include <QPlainTextEdit>

// The window as the print commands see it, read at the moment of each call.
class TMainForm::PrintView final : public PrintSource {
public:
    explicit PrintView(const TMainForm& form) : m_form(form) {}

    QDate shownDate() const override
    {
        return m_form.m_shownDate.isValid() ? m_form.m_shownDate : m_form.selectedDate();
    }

    QString dataFolder() const override { return m_form.DataFolder; }

    PeriodDays::ScreenTexts screenTexts() const override
    {
        PeriodDays::ScreenTexts texts;
        // As for the search: a page whose file could not be read, or that is still being filled,
        // shows no whole text of its file, so that file is read as it is.
        for (int index = 0; index < Pages::kCount; ++index) {
            const Page& page = m_form.m_pages[size_t(index)];
            if (page.file.isEmpty() || m_form.pageFilling(index) ||
                page.baseline.state() == FileTextBaseline::State::Unreadable)
                continue;
            const QString name = QFileInfo(page.file).fileName();
            if (DayFiles::joinPath(m_form.DataFolder, name) != page.file)
                continue; // a file of the folder used before the data folder was changed
            texts.insert(name, PageEditorText::text(page.editor));
        }
        return texts;
    }

    MonthSheet monthSheet() const override
    {
        const TjvStringGrid& grid = *m_form.jvStringGrid1;
        MonthSheet sheet;
        sheet.month = shownDate();
        for (int row = 0; row < grid.RowCount(); ++row)
            sheet.rows.append(grid.Rows(row));
        for (int col = 0; col < grid.ColCount(); ++col)
            sheet.colWidths.append(grid.ColWidths(col));
        sheet.rowHeight = grid.DefaultRowHeight();
        sheet.font = grid.font();
        sheet.saturday = m_form.SatColor;
        sheet.sunday = m_form.SunColor;
        sheet.markup = m_form.MarkupEntries;
        sheet.holidays = m_form.ShowHolidays;
        return sheet;
    }

    QFont memoFont() const override { return m_form.Memo7->font(); }

private:
    const TMainForm& m_form;
};

void TMainForm::buildPrintCommands()
{
    QAction* print = makeAction(QStringLiteral("Print1"), QStringLiteral("印刷(&P)..."),
                                QStringLiteral("予定表、日誌・予定、ToDo、メモを印刷します。"), this);
    print->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    QAction* preview = makeAction(QStringLiteral("PrintPreview1"), QStringLiteral("印刷プレビュー(&V)..."),
                                  QStringLiteral("印刷される内容を画面で確かめます。"), this);
    connect(print, &QAction::triggered, this, [this] { runPrint(false); });
    connect(preview, &QAction::triggered, this, [this] { runPrint(true); });
    QAction* before = File1->actions().value(0);
    File1->insertAction(before, print);
    File1->insertAction(before, preview);
    File1->insertSeparator(before);
}

void TMainForm::runPrint(bool preview)
{
    const PrintView view(*this);
    PrintChoiceDialog dialog(preview ? PrintChoiceDialog::Mode::Preview : PrintChoiceDialog::Mode::Print,
                             view.shownDate(), this);
    if (!dialogRunner().run(dialog))
        return;
    PrintJob job(view, *m_env.messages, this);
    job.run(dialog.choice());
}
