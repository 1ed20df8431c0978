#include "MainFormFixture.h"

#include "controls/SHBrowseWindow.h"
#include "controls/jvStringGrid.h"
#include "mainwindow/EditorSetup.h"
#include "mainwindow/FontColorDialog.h"
#include "mainwindow/FontConvert.h"
#include "mainwindow/MarkupStrSetup.h"
#include "mainwindow/OptionDialogs.h"
#include "mainwindow/SchItemSetup.h"
#include "mainwindow/WeekSetup.h"
#include "platform/AnsiText.h"
#include "platform/ProfileFile.h"
#include "settings/RegMng.h"
#include "support/ScriptedDialogs.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

namespace {

QString setting(const QString& ini, const char* section, const char* key)
{
    return ProfileFile::get(ini, QLatin1String(section), QLatin1String(key), QStringLiteral("<none>"));
}

QStringList menuCaptions(const QMenu* menu)
{
    QStringList captions;
    for (const QAction* action : menu->actions())
        captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

class OptionsTest : public MainFormFixture {
protected:
    ScriptedDialogs scripted;

    OptionsTest() { dialogs = &scripted; }

    TMainForm& startWith(const QByteArray& iniText = {})
    {
        if (!iniText.isEmpty())
            dir.write(QStringLiteral("QuavScheduler.ini"), iniText);
        return start();
    }

    void answerCaptions(const QString& text)
    {
        scripted.answer([text](QDialog& dialog) {
            ScriptedDialogs::child<QPlainTextEdit>(dialog, "Memo1")->setPlainText(text);
            return ScriptedDialogs::pressOk(dialog);
        });
    }

    QStringList gridCaptions() const
    {
        QStringList captions;
        for (int c = 1; c < grid(*form)->ColCount(); ++c)
            captions.append(grid(*form)->Cells(c, 0));
        return captions;
    }

    QString storedCaptionCount() const { return setting(ini(), "SchItem", "item_ItemCount"); }
};

TEST_F(OptionsTest, menusHoldTheOptionEntriesInOrder)
{
    TMainForm& f = start();
    // Entries of other commands may follow.
    EXPECT_EQ(menuCaptions(menu(f, "Show1")).mid(0, 11),
              (QStringList{QStringLiteral("今日へ移動(&G)"), QStringLiteral("-"),
                           QStringLiteral("３ヶ月表示(&V)..."), QStringLiteral("-"),
                           QStringLiteral("フォント(&F)..."), QStringLiteral("-"),
                           QStringLiteral("表示開始曜日設定(&W)..."), QStringLiteral("土曜日の色(&D)..."),
                           QStringLiteral("日曜日の色(&N)..."), QStringLiteral("色分け記号の色設定(&C)"),
                           QStringLiteral("色分け記号の設定(&S)")}));
    EXPECT_EQ(action(f, "MarkupStr1")->statusTip(), QStringLiteral("色分け表示する各記号を設定します。"));
    EXPECT_EQ(menuCaptions(menu(f, "File1")),
              (QStringList{QStringLiteral("印刷(&P)..."), QStringLiteral("印刷プレビュー(&V)..."),
                           QStringLiteral("-"), QStringLiteral("設定(&S)..."),
                           QStringLiteral("比較して統合(&M)..."), QStringLiteral("-"),
                           QStringLiteral("終了(&X)")}));
    EXPECT_EQ(menuCaptions(menu(f, "Sch1")).last(), QStringLiteral("項目の設定(&I)"));
    EXPECT_EQ(action(f, "SchItemSet1")->statusTip(), QStringLiteral("予定一覧の項目を設定します。"));
    EXPECT_EQ(markupAction(f, "MS", 0)->text(), QStringLiteral("★(&1)"));
    EXPECT_EQ(markupAction(f, "MBGC", 9)->text(), QStringLiteral("▽(&0)"));
    EXPECT_EQ(markupAction(f, "MBGC", 9)->objectName(), QStringLiteral("MBGC10"));
}

TEST_F(OptionsTest, storedMarkupSymbolsGiveTheCaptionsAtStart)
{
    TMainForm& f = startWith(AnsiText::encode(QStringLiteral("[Cal]\r\nMarkupStr2=会議\r\nMarkupStr9=\r\n")));
    EXPECT_EQ(markupAction(f, "MS", 2)->text(), QStringLiteral("会議(&3)"));
    EXPECT_EQ(markupAction(f, "MBGC", 2)->text(), QStringLiteral("会議(&3)"));
    EXPECT_EQ(markupAction(f, "MS", 9)->text(), QStringLiteral("(&0)"));
}

struct CaptionCase {
    const char* typed;
    QStringList captions;
};

TEST_F(OptionsTest, confirmedCaptionsBecomeTheColumns)
{
    const CaptionCase cases[] = {
        {"", {QStringLiteral("予定")}},
        {"a\nb\nc\nd\ne", {"a", "b", "c", "d", "e"}},
        {"a\nb\n", {"a", "b"}},
        {"a\n\nb", {"a", "", "b"}},
        {"\n", {""}},
        {" 会議 \n外出", {QStringLiteral(" 会議 "), QStringLiteral("外出")}},
    };
    TMainForm& f = start();
    for (const CaptionCase& c : cases) {
        SCOPED_TRACE(c.typed);
        answerCaptions(QString::fromUtf8(c.typed));
        action(f, "SchItemSet1")->trigger();
        EXPECT_EQ(f.columnCaptions(), c.captions);
        EXPECT_EQ(grid(f)->ColCount(), c.captions.size() + 1);
        EXPECT_EQ(grid(f)->Cells(0, 0), QString());
        EXPECT_EQ(gridCaptions(), c.captions);
        EXPECT_EQ(storedCaptionCount(), QString::number(c.captions.size()));
    }
    EXPECT_TRUE(scripted.allAnswered());
}

TEST_F(OptionsTest, captionDialogShowsTheStoredListAndCancelStillWritesIt)
{
    TMainForm& f = start();
    EXPECT_EQ(storedCaptionCount(), QStringLiteral("<none>"));
    QString shown;
    scripted.answer([&shown](QDialog& dialog) {
        shown = ScriptedDialogs::child<QPlainTextEdit>(dialog, "Memo1")->toPlainText();
        ScriptedDialogs::child<QPlainTextEdit>(dialog, "Memo1")->setPlainText(QStringLiteral("x"));
        return false;
    });
    action(f, "SchItemSet1")->trigger();
    EXPECT_EQ(shown, QStringLiteral("予定1\n予定2\n予定3"));
    EXPECT_EQ(storedCaptionCount(), QStringLiteral("3"));
    EXPECT_EQ(setting(ini(), "SchItem", "item_Item2"), QStringLiteral("予定3"));
    EXPECT_EQ(grid(f)->ColCount(), 4);
    EXPECT_EQ(scripted.shown(), QStringList{QStringLiteral("SchItemDlg")});
}

TEST_F(OptionsTest, fewerCaptionsDropTheColumnFromTheMonthFileAndTheWidthKeys)
{
    TMainForm& f = start();
    answerCaptions(QStringLiteral("a\nb\nc\nd\ne"));
    action(f, "SchItemSet1")->trigger();
    grid(f)->setCells(5, 3, QStringLiteral("fifth"));
    ASSERT_TRUE(closeForm());
    for (int c = 0; c <= 5; ++c)
        EXPECT_NE(setting(ini(), "Sheet", qPrintable(QStringLiteral("ColWidth%1").arg(c))),
                  QStringLiteral("<none>"))
            << c;
    EXPECT_EQ(setting(ini(), "Sheet", "ColWidth6"), QStringLiteral("<none>"));
    EXPECT_TRUE(file("200102.csv").contains("fifth"));

    TMainForm& again = start();
    EXPECT_EQ(grid(again)->ColCount(), 6);
    EXPECT_EQ(grid(again)->Cells(5, 3), QStringLiteral("fifth"));
    answerCaptions(QStringLiteral("a\nb\nc\nd"));
    action(again, "SchItemSet1")->trigger();
    EXPECT_EQ(grid(again)->ColCount(), 5);
    ASSERT_TRUE(closeForm());
    EXPECT_FALSE(file("200102.csv").contains("fifth"));
    EXPECT_TRUE(file("200102.csv").startsWith(",a,b,c,d\r\n"));
}

TEST_F(OptionsTest, unwritableSettingsAreReportedAndKeepTheTypedCaptions)
{
    TMainForm& f = start();
    // A folder where the settings file should be: every write of it fails.
    const QString blocked = dir.path() + QStringLiteral("/blocked");
    QDir(dir.path()).mkpath(QStringLiteral("blocked"));
    scripted.answer([&f, blocked](QDialog& dialog) {
        ScriptedDialogs::child<QPlainTextEdit>(dialog, "Memo1")->setPlainText(QStringLiteral("a\nb"));
        regManager(f)->SetIniFileName(blocked);
        return ScriptedDialogs::pressOk(dialog);
    });
    action(f, "SchItemSet1")->trigger();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(f.columnCaptions(), (QStringList{"a", "b"}));
    EXPECT_EQ(gridCaptions(), (QStringList{"a", "b"}));

    // Failing before the dialog: nothing asked, nothing changed.
    form.reset();
    messages.clear();
    MainFormEnv env = makeEnv();
    env.iniPath = blocked;
    form = std::make_unique<TMainForm>(env);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    const QStringList captions = form->columnCaptions();
    action(*form, "SchItemSet1")->trigger();
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_EQ(scripted.shown().size(), 1);
    EXPECT_EQ(form->columnCaptions(), captions);
}

struct WeekCase {
    int stored;
    int selected; // in the dialog when it opens
    int chosen;   // -1: confirm without touching the list
    int startWeek;
    Qt::DayOfWeek firstDay;
};

TEST_F(OptionsTest, firstWeekdayFollowsTheDialog)
{
    // The user's locale, not the Japanese of the program's texts (whose week starts on Sunday).
    const Qt::DayOfWeek localeDay = Qt::Monday;
    localeFirstDay = [localeDay] { return localeDay; };
    const WeekCase cases[] = {
        {0, 0, 1, 1, Qt::Monday},   {1, 1, 6, 6, Qt::Saturday},    {6, 6, 0, 0, Qt::Sunday},
        {9, -1, -1, -1, localeDay}, {-1, -1, 3, 3, Qt::Wednesday},
    };
    for (const WeekCase& c : cases) {
        SCOPED_TRACE(c.stored);
        startWith(QStringLiteral("[Pos]\r\nStartWeek=%1\r\n").arg(c.stored).toLatin1());
        if (c.stored < 0 || c.stored > 6) {
            EXPECT_EQ(calendar(*form)->firstDayOfWeek(), localeDay);
        }
        int opened = -2;
        scripted.answer([&opened, c](QDialog& dialog) {
            auto* list = ScriptedDialogs::child<QComboBox>(dialog, "ComboBox1");
            opened = list->currentIndex();
            EXPECT_EQ(list->count(), 7);
            EXPECT_EQ(list->itemText(0), QStringLiteral("日曜日"));
            EXPECT_FALSE(list->isEditable());
            if (c.chosen >= 0)
                list->setCurrentIndex(c.chosen);
            return ScriptedDialogs::pressOk(dialog);
        });
        action(*form, "StartWeek1")->trigger();
        EXPECT_EQ(opened, c.selected);
        EXPECT_EQ(form->settings().startWeek, c.startWeek);
        EXPECT_EQ(calendar(*form)->firstDayOfWeek(), c.firstDay);
        ASSERT_TRUE(closeForm());
        EXPECT_EQ(setting(ini(), "Pos", "StartWeek"), QString::number(c.startWeek));
    }
}

TEST_F(OptionsTest, cancelledDialogsChangeNothing)
{
    TMainForm& f = start();
    const auto touchAndCancel = [this](const char* name, std::function<void(QDialog&)> touch) {
        scripted.answer([name, touch](QDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), QLatin1String(name));
            touch(dialog);
            return false;
        });
    };
    touchAndCancel("WeekSetupDlg",
                   [](QDialog& d) { ScriptedDialogs::child<QComboBox>(d, "ComboBox1")->setCurrentIndex(3); });
    action(f, "StartWeek1")->trigger();
    touchAndCancel("MarkupStrDlg", [](QDialog& d) {
        ScriptedDialogs::child<QLineEdit>(d, "Edit1")->setText(QStringLiteral("x"));
    });
    markupAction(f, "MS", 0)->trigger();
    touchAndCancel("ColorDialog1",
                   [](QDialog& d) { static_cast<QColorDialog&>(d).setCurrentColor(Qt::red); });
    action(f, "ColSat1")->trigger();
    touchAndCancel("ColorDialog1",
                   [](QDialog& d) { static_cast<QColorDialog&>(d).setCurrentColor(Qt::red); });
    markupAction(f, "MBGC", 4)->trigger();
    touchAndCancel("FontDialog",
                   [](QDialog& d) { ScriptedDialogs::child<QCheckBox>(d, "BoldBox")->setChecked(true); });
    action(f, "Font1")->trigger();
    touchAndCancel("EditorSetupDlg", [](QDialog& d) {
        ScriptedDialogs::child<QLineEdit>(d, "Edit2")->setText(QStringLiteral("/x/"));
    });
    action(f, "EditorSet1")->trigger();

    EXPECT_EQ(f.settings().startWeek, 0);
    EXPECT_EQ(f.settings().markup, Markup::defaults());
    EXPECT_EQ(f.settings().satColor, Markup::kDefaultSatColor);
    EXPECT_FALSE(memo(f, "Memo4")->font().bold());
    EXPECT_EQ(f.settings().dataFolder, folder());
    EXPECT_TRUE(scripted.allAnswered());
}

TEST_F(OptionsTest, coloursAreStoredAsTheSettingsHoldThem)
{
    TMainForm& f = start();
    const auto pick = [this](QColor color) {
        scripted.answer([color](QDialog& dialog) {
            static_cast<QColorDialog&>(dialog).setCurrentColor(color);
            return true;
        });
    };
    QColor seen;
    scripted.answer([&seen](QDialog& dialog) {
        seen = static_cast<QColorDialog&>(dialog).currentColor();
        static_cast<QColorDialog&>(dialog).setCurrentColor(QColor(1, 2, 3));
        return true;
    });
    action(f, "ColSat1")->trigger();
    EXPECT_EQ(seen, QColor(220, 216, 253));
    EXPECT_EQ(f.settings().satColor, 0x030201u);
    pick(QColor(255, 0, 0));
    action(f, "ColSun1")->trigger();
    EXPECT_EQ(f.settings().sunColor, 0x0000FFu);
    pick(QColor(0, 0, 255));
    markupAction(f, "MBGC", 3)->trigger();
    EXPECT_EQ(f.settings().markup[3].color, 0xFF0000u);
    EXPECT_EQ(f.settings().markup[2].color, Markup::defaultColor(2));
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(setting(ini(), "Cal", "SatColor"), QStringLiteral("197121"));
    EXPECT_EQ(setting(ini(), "Cal", "MarkupColor3"), QStringLiteral("16711680"));
}

TEST_F(OptionsTest, markupSymbolIsTakenAsTypedAndRenamesBothEntries)
{
    TMainForm& f = start();
    QColor background;
    QString shownText;
    scripted.answer([&](QDialog& dialog) {
        auto* edit = ScriptedDialogs::child<QLineEdit>(dialog, "Edit1");
        shownText = edit->text();
        background = edit->palette().color(QPalette::Base);
        edit->setText(QStringLiteral(" 締切 "));
        return ScriptedDialogs::pressOk(dialog);
    });
    markupAction(f, "MS", 3)->trigger();
    EXPECT_EQ(shownText, QStringLiteral("○"));
    EXPECT_EQ(background, FontConvert::toQColor(Markup::defaultColor(3)));
    EXPECT_EQ(f.settings().markup[3].symbol, QStringLiteral(" 締切 "));
    EXPECT_EQ(markupAction(f, "MS", 3)->text(), QStringLiteral(" 締切 (&4)"));
    EXPECT_EQ(markupAction(f, "MBGC", 3)->text(), QStringLiteral(" 締切 (&4)"));
    EXPECT_EQ(markupAction(f, "MS", 2)->text(), QStringLiteral("●(&3)"));

    // An empty symbol colours no cell any more.
    scripted.answer([](QDialog& dialog) {
        ScriptedDialogs::child<QLineEdit>(dialog, "Edit1")->clear();
        return ScriptedDialogs::pressOk(dialog);
    });
    markupAction(f, "MS", 0)->trigger();
    EXPECT_EQ(markupAction(f, "MS", 0)->text(), QStringLiteral("(&1)"));
    EXPECT_EQ(Markup::find(QStringLiteral("★会議"), f.settings().markup), -1);
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(setting(ini(), "Cal", "MarkupStr0"), QString());
}

TEST_F(OptionsTest, parentEntriesOfTheMarkupMenusChangeNothing)
{
    TMainForm& f = start();
    action(f, "MarkupStr1")->trigger();
    action(f, "MarkupBGColor1")->trigger();
    Q_EMIT action(f, "MarkupStr1")->menu()->aboutToShow();
    Q_EMIT action(f, "MarkupBGColor1")->menu()->aboutToShow();
    EXPECT_TRUE(scripted.shown().isEmpty());
    EXPECT_EQ(f.settings().markup, Markup::defaults());
}

TEST_F(OptionsTest, chosenFontReachesEveryMemoAndTheSettings)
{
    TMainForm& f = start();
    pageTabs(f)->setCurrentIndex(2);
    TFont seeded;
    scripted.answer([&seeded](QDialog& dialog) {
        auto& fonts = static_cast<TFontColorDialog&>(dialog);
        seeded = fonts.font();
        fonts.FaceBox->setCurrentText(QStringLiteral("Noto Sans CJK JP"));
        fonts.SizeBox->setCurrentText(QStringLiteral("14"));
        fonts.BoldBox->setChecked(true);
        fonts.UnderlineBox->setChecked(true);
        fonts.StrikeOutBox->setChecked(true);
        fonts.ColorBox->setCurrentIndex(fonts.ColorBox->findData(0x0000FF));
        return ScriptedDialogs::pressOk(dialog);
    });
    action(f, "Font1")->trigger();
    EXPECT_EQ(seeded.Name, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(seeded.Size, 9);
    EXPECT_EQ(seeded.Color, clWindowText);
    for (QPlainTextEdit* memo :
         {memo(f, "Memo1"), memo(f, "Memo2"), memo(f, "Memo3"), memo(f, "Memo4"), memo(f, "Memo7")}) {
        SCOPED_TRACE(memo->objectName().toStdString());
        EXPECT_EQ(memo->font().family(), QStringLiteral("Noto Sans CJK JP"));
        EXPECT_EQ(memo->font().pointSize(), 14);
        EXPECT_TRUE(memo->font().bold());
        EXPECT_TRUE(memo->font().underline());
        EXPECT_TRUE(memo->font().strikeOut());
        EXPECT_EQ(memo->palette().color(QPalette::Text), QColor(255, 0, 0));
    }
    EXPECT_EQ(f.memoFont().Charset, SHIFTJIS_CHARSET);
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(setting(ini(), "MemoFont", "prop_FontColor"), QStringLiteral("clRed"));
    EXPECT_EQ(setting(ini(), "Memo", "FontStyleBold"), QStringLiteral("1"));

    // Bold comes back at the next start; the colour comes back with the stored font.
    TMainForm& again = start();
    EXPECT_TRUE(memo(again, "Memo7")->font().bold());
    EXPECT_EQ(memo(again, "Memo7")->palette().color(QPalette::Text), QColor(255, 0, 0));
}

TEST_F(OptionsTest, settingsDialogTakesBothTextsAsTyped)
{
    TMainForm& f = startWith("[Memo]\r\nEditor1=/opt/tools/edit\r\n");
    QString initialDir;
    scripted.answer([&initialDir](QDialog& dialog) {
        auto& setup = static_cast<TEditorSetupDlg&>(dialog);
        EXPECT_EQ(setup.Edit1->text(), QStringLiteral("/opt/tools/edit"));
        initialDir = setup.OpenDialogInitialDir;
        setup.Edit1->setText(QStringLiteral("/usr/bin/other"));
        setup.Edit2->setText(QStringLiteral("/no/separator"));
        return ScriptedDialogs::pressOk(dialog);
    });
    action(f, "EditorSet1")->trigger();
    EXPECT_EQ(initialDir, QStringLiteral("/opt/tools/"));
    EXPECT_EQ(f.settings().editorPath, QStringLiteral("/usr/bin/other"));
    EXPECT_EQ(f.settings().dataFolder, QStringLiteral("/no/separator"));

    scripted.answer([](QDialog& dialog) {
        auto& setup = static_cast<TEditorSetupDlg&>(dialog);
        setup.Edit1->clear();
        setup.Edit2->clear();
        return ScriptedDialogs::pressOk(dialog);
    });
    action(f, "EditorSet1")->trigger();
    EXPECT_EQ(f.settings().editorPath, QString());
    EXPECT_EQ(f.settings().dataFolder, QString());
}

TEST_F(OptionsTest, browsingThenCancellingKeepsBothValues)
{
    TMainForm& f = start();
    const QString editor = dir.file(QStringLiteral("myeditor"));
    dir.write(QStringLiteral("myeditor"), "#!/bin/sh\n");
    QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QDir(dir.path()).mkpath(QStringLiteral("data"));
    QString edit1, edit2;
    scripted.answer([&](QDialog& dialog) {
        auto& setup = static_cast<TEditorSetupDlg&>(dialog);
        setup.Edit1->setText(QStringLiteral("typed by hand"));
        setup.Button1->click();
        setup.Button2->click();
        edit1 = setup.Edit1->text();
        edit2 = setup.Edit2->text();
        return false;
    });
    scripted.answer([&](QDialog& dialog) {
        auto& open = static_cast<QFileDialog&>(dialog);
        open.selectFile(editor);
        return true;
    });
    scripted.answer([&](QDialog& dialog) {
        auto& browse = static_cast<SHBrowseWindow&>(dialog);
        EXPECT_EQ(browse.current().kind, BrowseTarget::Kind::Computer);
        EXPECT_TRUE(browse.select({BrowseTarget::Kind::Folder, dir.path() + QStringLiteral("/data")}));
        return ScriptedDialogs::pressOk(dialog);
    });
    action(f, "EditorSet1")->trigger();
    EXPECT_EQ(edit1, editor);
    EXPECT_EQ(edit2, dir.path() + QStringLiteral("/data/"));
    EXPECT_EQ(f.settings().editorPath, editorPath);
    EXPECT_EQ(f.settings().dataFolder, folder());
    EXPECT_TRUE(scripted.allAnswered());
}

TEST_F(OptionsTest, pickerSeparatorRule)
{
    OptionDialogs owned(scripted);
    TEditorSetupDlg& setup = owned.EditorSetupDlg();
    QString text;
    TOKButtonState ok = obsNone;
    for (const auto& [path, stored] :
         {std::pair{"/", "/"}, {"/home/user", "/home/user/"}, {"/mnt/", "/mnt/"}}) {
        setup.SHFolder1SelectionChanged(*setup.SHFolder1, nullptr, QLatin1String(path), text, ok);
        EXPECT_EQ(setup.SHFolder1->SelectFolderName(), QLatin1String(stored));
    }
    EXPECT_EQ(text, QString());
    EXPECT_EQ(ok, obsNone);
    // A browse that is cancelled leaves the typed folder.
    setup.Edit2->setText(QStringLiteral("typed"));
    scripted.cancel();
    setup.Button2Click();
    EXPECT_EQ(setup.Edit2->text(), QStringLiteral("typed"));
}

TEST_F(OptionsTest, wrongFolderAndEditorShowTheirErrorsAndLoseNothing)
{
    TMainForm& f = start();
    type(memo(f, "Memo7"), QStringLiteral("before the move"));
    scripted.answer([this](QDialog& dialog) {
        auto& setup = static_cast<TEditorSetupDlg&>(dialog);
        setup.Edit2->setText(dir.path() + QStringLiteral("/missing/"));
        setup.Edit1->setText(dir.path() + QStringLiteral("/no-such-editor"));
        return ScriptedDialogs::pressOk(dialog);
    });
    action(f, "EditorSet1")->trigger();

    // The day left is still written to the folder it was read from.
    changeDate(QDate(2001, 2, 4));
    EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
    EXPECT_EQ(file("20010203.txt"), QByteArray("before the move"));
    type(memo(f, "Memo7"), QStringLiteral("after the move"));

    pageTabs(f)->setCurrentIndex(3);
    setInSettingsDialog(f, scripted, std::nullopt, folder());
    action(f, "Exec1")->trigger();
    EXPECT_EQ(messages.count(QStringLiteral("外部エディタを起動できません。")), 1);
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("after the move"));
    setInSettingsDialog(f, scripted, std::nullopt, dir.path() + QStringLiteral("/missing/"));
    messages.clear();

    // The month and the page cannot be written; the user chooses to stay.
    messages.answerNext(MessageService::Answer::Ok);
    messages.answerNext(MessageService::Answer::Ok);
    messages.answerNext(MessageService::Answer::Cancel);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(messages.shown().size(), 3) << messages.texts().join(u'|').toStdString();
    EXPECT_TRUE(messages.texts().at(0).contains(QStringLiteral("missing/200102.csv")));
    EXPECT_TRUE(messages.texts().at(1).contains(QStringLiteral("missing/20010204.txt")));
    EXPECT_EQ(messages.texts().last(), QStringLiteral("エラーが発生しました。終了しますか?"));
    EXPECT_EQ(memo(f, "Memo7")->toPlainText(), QStringLiteral("after the move"));
    EXPECT_EQ(f.selectedDate(), QDate(2001, 2, 4));
}

} // namespace
