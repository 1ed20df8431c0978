#pragma once

#include "mainwindow/EditorSetup.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/SchItemSetup.h"
#include "mainwindow/schedule.h"

#include "support/MainFormParts.h"
#include "support/RecordingMessageService.h"
#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace MainFormParts;

// A main window over a temporary program folder with a clock the test sets.
class MainFormFixture : public ::testing::Test {
protected:
    TempFolder dir;
    TempFolder stateDir; // the recovery journal's root, apart from the program folder
    RecordingMessageService messages;
    QDateTime now{QDate(2001, 2, 3), QTime(9, 5)};
    std::unique_ptr<TMainForm> form;
    NotificationArea* notificationArea = nullptr; // none: no tray icon
    DialogRunner* dialogs = nullptr;              // none: the dialogs' own modal loops
    QString editorPath = QStringLiteral("/usr/bin/true");
    // Set: the user's locale's first day of the week, instead of the environment's.
    std::function<Qt::DayOfWeek()> localeFirstDay;
    // Set: the default editor is not given as editorPath but searched for through it.
    std::function<QString()> findEditor;
    std::function<OutsideEditChoice(const QString&)> askOutsideEdit = [](const QString&) {
        ADD_FAILURE() << "unexpected question about a file changed outside";
        return OutsideEditChoice::KeepBoth;
    };

    std::function<DataFolderChoice(const QString&)> askDataFolder = [](const QString& message) {
        ADD_FAILURE() << "unexpected question about the data folder: " << message.toStdString();
        return DataFolderChoice::UseDefault;
    };

    QString folder() const { return dir.path() + u'/'; }
    QString ini() const { return dir.file(QStringLiteral("QuavScheduler.ini")); }

    // What the window is handed at start; a test may change it before making the window.
    MainFormEnv makeEnv()
    {
        MainFormEnv env;
        env.iniPath = ini();
        env.defaultDataFolder = folder();
        if (findEditor)
            env.findDefaultEditor = findEditor;
        else
            env.defaultEditorPath = editorPath;
        env.notificationArea = notificationArea;
        env.dialogs = dialogs;
        if (localeFirstDay)
            env.localeFirstDayOfWeek = localeFirstDay;
        env.now = [this] { return now; };
        env.messages = &messages;
        env.askOutsideEdit = [this](const QString& path) { return askOutsideEdit(path); };
        env.askDataFolder = [this](const QString& message) { return askDataFolder(message); };
        env.recoveryRoot = stateDir.path();
        return env;
    }

    TMainForm& start()
    {
        form = std::make_unique<TMainForm>(makeEnv());
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return *form;
    }

    bool closeForm()
    {
        const bool closed = form->close();
        if (closed)
            form.reset();
        return closed;
    }

    void changeDate(QDate date) { chooseDate(*form, date); }

    // The settings dialog as the user fills it: the editor and the data folder given are typed,
    // the others left as shown. `scripted` must be the window's dialogs.
    static void setInSettingsDialog(TMainForm& f, ScriptedDialogs& scripted,
                                    const std::optional<QString>& editor,
                                    const std::optional<QString>& dataFolder = std::nullopt)
    {
        scripted.answer([&](QDialog& dialog) {
            auto& setup = static_cast<TEditorSetupDlg&>(dialog);
            if (editor)
                setup.Edit1->setText(*editor);
            if (dataFolder)
                setup.Edit2->setText(*dataFolder);
            return ScriptedDialogs::pressOk(dialog);
        });
        action(f, "EditorSet1")->trigger();
    }

    // The column captions as the user types them in their dialog, one per line.
    static void setCaptionsInDialog(TMainForm& f, ScriptedDialogs& scripted, const QString& lines)
    {
        scripted.answer([&](QDialog& dialog) {
            ScriptedDialogs::child<QPlainTextEdit>(dialog, "Memo1")->setPlainText(lines);
            return ScriptedDialogs::pressOk(dialog);
        });
        action(f, "SchItemSet1")->trigger();
    }

    static void type(QPlainTextEdit* memo, const QString& text)
    {
        QTextCursor cursor = memo->textCursor();
        cursor.movePosition(QTextCursor::End);
        memo->setTextCursor(cursor);
        memo->insertPlainText(text);
    }

    static void empty(QPlainTextEdit* memo)
    {
        memo->selectAll();
        memo->textCursor().removeSelectedText();
    }

    QByteArray file(const char* name) const { return dir.read(QLatin1String(name)); }
    bool has(const char* name) const { return dir.exists(QLatin1String(name)); }
};
