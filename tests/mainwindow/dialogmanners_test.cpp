// How the option dialogs and the grid treat the keyboard and the mouse: the keyboard goes back
// where it was when a dialog closes, Enter presses the focused button, a right click acts on the
// clicked cell, and colour changes show at once.
#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/EditorSetup.h"
#include "mainwindow/OptionDialogs.h"
#include "mainwindow/WeekSetup.h"
#include "support/PaintEvents.h"
#include "support/ScriptedDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

// Presses a button of the dialog that the real modal loop shows, once it is up.
void pressInModalWhenShown(const char* button)
{
    QTimer::singleShot(0, [button] {
        QWidget* modal = QApplication::activeModalWidget();
        ASSERT_NE(modal, nullptr);
        auto* target = modal->findChild<QAbstractButton*>(QLatin1String(button));
        ASSERT_NE(target, nullptr) << button;
        target->click();
    });
}

// Types into whatever control has the keyboard, as the platform delivers keys: a user types
// after the window manager has given the keyboard back, which takes it a moment.
void typeIntoFocus(const QString& text)
{
    for (const QChar c : text) {
        (void)QTest::qWaitFor(
            [] { return QApplication::focusWidget() && QApplication::focusWidget()->isVisible(); }, 2000);
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr) << "no control has the keyboard";
        QTest::keyClick(target, c.toLatin1());
    }
}

class DialogMannersTest : public MainFormFixture {
protected:
    TMainForm& startActive()
    {
        TMainForm& f = start();
        f.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&f));
        return f;
    }
};

TEST_F(DialogMannersTest, keyboardGoesBackToTheGridCellBeingEditedAfterADialog)
{
    TMainForm& f = startActive();
    OptionDialogs own(DialogRunner::modal(), &f);
    f.setOptionDialogs(&own);
    TjvStringGrid& grid = *MainFormParts::grid(f);
    grid.setCurrentCell(1, 3);
    grid.setFocus();
    typeIntoFocus(QStringLiteral("ab"));
    ASSERT_TRUE(grid.EditorMode());

    pressInModalWhenShown("OKBtn");
    action(f, "StartWeek1")->trigger();
    // The dialog took the keyboard, which ends the cell's edit with its text kept; the grid
    // has the keyboard again, so typing goes on in the grid, not to the menus' access keys.
    EXPECT_EQ(grid.Cells(1, 3), QStringLiteral("ab"));
    typeIntoFocus(QStringLiteral("cd"));
    EXPECT_EQ(QApplication::focusWidget(), grid.InplaceEditor());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(grid.Cells(1, 3), QStringLiteral("cd"));
}

TEST_F(DialogMannersTest, keyboardGoesBackToThePageAfterTheColourDialog)
{
    TMainForm& f = startActive();
    memo(f, "Memo2")->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&f] { return memo(f, "Memo2")->hasFocus(); }, 2000));
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget()))
            dialog->accept();
    });
    action(f, "ColSat1")->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&f] { return QApplication::focusWidget() == memo(f, "Memo2"); }, 2000))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
}

TEST_F(DialogMannersTest, enterOnAFocusedBrowseButtonPressesItInsteadOfConfirming)
{
    ScriptedDialogs scripted;
    scripted.cancel(); // the file dialog that 参照... opens
    TEditorSetupDlg dialog(scripted);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.Edit1->setText(QStringLiteral("/usr/bin/ha"));
    dialog.Button1->setFocus();
    dialog.setResult(QDialog::Rejected);
    QTest::keyClick(dialog.Button1, Qt::Key_Return);
    EXPECT_EQ(scripted.shown(), QStringList{QStringLiteral("OpenDialog")});
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.isVisible());

    // In a field, Enter is still the OK button.
    dialog.Edit1->setFocus();
    QTest::keyClick(dialog.Edit1, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(DialogMannersTest, rightClickOnADayMakesThatDayCurrentBeforeItsMenu)
{
    TMainForm& f = startActive();
    TjvStringGrid& grid = *MainFormParts::grid(f);
    grid.setCells(1, 1, QStringLiteral("◎出張"));
    ASSERT_NE(grid.Row(), 5);
    QTest::mouseClick(grid.viewport(), Qt::RightButton, {}, grid.CellRect(1, 5).center());
    EXPECT_EQ(grid.Row(), 5);
    EXPECT_EQ(calendar(f)->selectedDate(), QDate(2001, 2, 5));

    // 削除 from the menu now empties the clicked day only.
    action(f, "Delete2")->trigger();
    EXPECT_EQ(grid.Cells(1, 1), QStringLiteral("◎出張"));
}

TEST_F(DialogMannersTest, colourAndSymbolChangesRepaintTheCellsAtOnce)
{
    ScriptedDialogs scripted;
    dialogs = &scripted;
    TMainForm& f = startActive();
    PaintCounter counter;
    grid(f)->viewport()->installEventFilter(&counter);
    const auto repainted = [&] {
        counter.paints = 0;
        QTest::qWait(30);
        return counter.paints > 0;
    };
    ASSERT_FALSE(repainted());
    scripted.answer([](QDialog& dialog) {
        static_cast<QColorDialog&>(dialog).setCurrentColor(QColor(0, 128, 0));
        return true;
    });
    action(f, "ColSun1")->trigger();
    EXPECT_TRUE(repainted());
    scripted.answer([](QDialog& dialog) {
        ScriptedDialogs::child<QLineEdit>(dialog, "Edit1")->setText(QStringLiteral("★"));
        return true;
    });
    markupAction(f, "MS", 0)->trigger();
    EXPECT_TRUE(repainted());
}

} // namespace
