// The print commands of the File menu, driven as the user would: the action, the dialog, the
// file. What is typed and not yet saved is what is printed.
#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "print/PrintChoiceDialog.h"
#include "support/ScriptedDialogs.h"
#include "../print/PdfTools.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSet>

namespace {

class PrintCommandsTest : public MainFormFixture {
protected:
    ScriptedDialogs scripted;
    TempFolder out;

    void SetUp() override { dialogs = &scripted; }

    QAction* action(const char* name) const
    {
        auto* found = form->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QPlainTextEdit* editor(const char* name) const
    {
        return form->findChild<QPlainTextEdit*>(QLatin1String(name));
    }

    // Answers the print dialog: content, output and file, then OK.
    void answerPrint(const char* content, int outputIndex, const QString& file)
    {
        scripted.answer([=](QDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), QStringLiteral("PrintChoiceDialog"));
            ScriptedDialogs::child<QRadioButton>(dialog, content)->setChecked(true);
            ScriptedDialogs::child<QComboBox>(dialog, "OutputBox")->setCurrentIndex(outputIndex);
            ScriptedDialogs::child<QLineEdit>(dialog, "FileEdit")->setText(file);
            return ScriptedDialogs::pressOk(dialog);
        });
    }
};

TEST_F(PrintCommandsTest, FileMenuHasPrintEntriesWithTheirOwnAccessKeys)
{
    start();
    QAction* print = action("Print1");
    QAction* preview = action("PrintPreview1");
    ASSERT_TRUE(print && preview);
    EXPECT_EQ(print->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    auto* file = form->findChild<QMenu*>(QStringLiteral("File1"));
    ASSERT_NE(file, nullptr);
    const QList<QAction*> entries = file->actions();
    EXPECT_EQ(entries.indexOf(print), 0);
    EXPECT_EQ(entries.indexOf(preview), 1);
    EXPECT_EQ(entries.last()->objectName(), QStringLiteral("Exit1"));
    QSet<QChar> keys;
    for (QAction* entry : entries) {
        if (entry->isSeparator())
            continue;
        const qsizetype amp = entry->text().indexOf(u'&');
        ASSERT_GE(amp, 0) << entry->text().toStdString();
        const QChar key = entry->text().at(amp + 1).toUpper();
        EXPECT_FALSE(keys.contains(key)) << entry->text().toStdString();
        keys.insert(key);
    }
}

TEST_F(PrintCommandsTest, TypedDiaryAndGridPrintAsShown)
{
    REQUIRE_PDF_TOOLS();
    dir.write(QStringLiteral("20010201.txt"), QByteArray("saved first day"));
    start();
    type(editor("Memo7"), QStringLiteral("typed but not saved"));
    auto* grid = form->findChild<TjvStringGrid*>(QStringLiteral("jvStringGrid1"));
    ASSERT_NE(grid, nullptr);
    grid->setCells(1, 4, QStringLiteral("grid typed★"));

    const QString period = out.file(QStringLiteral("period.pdf"));
    answerPrint("PeriodRadio", 1, period);
    action("Print1")->trigger();
    const QString periodText = PdfTools::text(period);
    EXPECT_TRUE(PdfTools::has(periodText, QStringLiteral("2001年02月03日(土)"))) << periodText.toStdString();
    EXPECT_TRUE(PdfTools::has(periodText, QStringLiteral("typed but not saved")));
    EXPECT_TRUE(PdfTools::has(periodText, QStringLiteral("saved first day")));
    EXPECT_FALSE(has("20010203.txt")) << "printing saves nothing";

    const QString month = out.file(QStringLiteral("month"));
    answerPrint("MonthRadio", 1, month);
    action("Print1")->trigger();
    const QString monthText = PdfTools::text(month + QStringLiteral(".pdf"));
    EXPECT_TRUE(PdfTools::has(monthText, QStringLiteral("grid typed★"))) << monthText.toStdString();
    EXPECT_TRUE(PdfTools::has(monthText, QStringLiteral("28日(水)")));
    EXPECT_TRUE(scripted.allAnswered());
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(PrintCommandsTest, TextExportAndCancelledDialog)
{
    start();
    type(editor("Memo2"), QStringLiteral("買い物"));
    const QString todo = out.file(QStringLiteral("todo.txt"));
    answerPrint("ToDoRadio", 2, todo);
    action("Print1")->trigger();
    EXPECT_EQ(QString::fromUtf8(out.read(QStringLiteral("todo.txt"))), QStringLiteral("■ ToDo\n買い物\n"));

    scripted.cancel();
    action("PrintPreview1")->trigger();
    EXPECT_EQ(scripted.shown().last(), QStringLiteral("PrintChoiceDialog"));
    EXPECT_TRUE(scripted.allAnswered());
}

TEST_F(PrintCommandsTest, DialogOffersThePeriodOfTheMonthShownAndRefusesABackwardPeriod)
{
    start();
    scripted.answer([](QDialog& dialog) {
        auto& choice = static_cast<PrintChoiceDialog&>(dialog);
        EXPECT_EQ(choice.FromDate->date(), QDate(2001, 2, 1));
        EXPECT_EQ(choice.ToDate->date(), QDate(2001, 2, 28));
        choice.PeriodRadio->setChecked(true);
        choice.FromDate->setDate(QDate(2001, 3, 1));
        EXPECT_FALSE(ScriptedDialogs::pressOk(dialog)) << "from after to";
        // The grid is no text: choosing it moves a text export to PDF.
        choice.OutputBox->setCurrentIndex(2);
        choice.MonthRadio->setChecked(true);
        EXPECT_EQ(choice.choice().output, PrintChoice::Output::Pdf);
        return false;
    });
    action("Print1")->trigger();
    EXPECT_TRUE(scripted.allAnswered());
}

TEST_F(PrintCommandsTest, EveryLabelsAccessKeyReachesItsControl)
{
    start();
    scripted.answer([](QDialog& dialog) {
        auto& choice = static_cast<PrintChoiceDialog&>(dialog);
        int labels = 0;
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (!label->text().contains(u'&'))
                continue;
            ++labels;
            EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        }
        EXPECT_EQ(labels, 6);
        for (QLabel* label : dialog.findChildren<QLabel*>()) {
            if (label->text() == QStringLiteral("開始日(&B)")) {
                EXPECT_EQ(label->buddy(), choice.FromDate);
            } else if (label->text() == QStringLiteral("ファイル名(&N)")) {
                EXPECT_EQ(label->buddy(), choice.FileEdit);
            }
        }
        return false;
    });
    action("Print1")->trigger();
    EXPECT_TRUE(scripted.allAnswered());
}

} // namespace
