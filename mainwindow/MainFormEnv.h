#pragma once

#include "mainwindow/WindowPositions.h"
#include "platform/LocaleWeek.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>

class DialogRunner;
class MessageService;
class NotificationArea;
class UrlOpener;

// What becomes of a data file that another program changed since it was read.
enum class OutsideEditChoice { KeepMine, TakeFile, KeepBoth };
// What start-up does when the stored data folder cannot be used.
enum class DataFolderChoice { Pick, UseDefault };

// Everything the main window takes from outside, handed in so tests can steer it.
struct MainFormEnv {
    QString iniPath;           // the settings file
    QString defaultDataFolder; // used until the settings name another
    // The editor used while the settings name none. Unless given here, it is looked for through
    // findDefaultEditor (none: DefaultEditor::path()) when first needed, since the search looks up
    // every candidate on PATH and most starts never need it.
    std::optional<QString> defaultEditorPath;
    std::function<QString()> findDefaultEditor;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    MessageService* messages = nullptr;           // must outlive the window
    NotificationArea* notificationArea = nullptr; // none: no tray icon, minimising minimises
    UrlOpener* urlOpener = nullptr;               // none: the desktop's
    DialogRunner* dialogs = nullptr;              // none: the option dialogs run their own loops
    // Asked before writing a data file that changed on disk since it was read; empty: a dialog.
    std::function<OutsideEditChoice(const QString& path)> askOutsideEdit;
    // Asked at start, with the message to show, when the stored data folder cannot be used;
    // empty: a dialog.
    std::function<DataFolderChoice(const QString& message)> askDataFolder;
    QString recoveryRoot; // where unsaved texts are journaled; empty: the per-user state folder
    // The calendar's first day of the week while the settings choose none.
    std::function<Qt::DayOfWeek()> localeFirstDayOfWeek = LocaleWeek::firstDay;
    // Page files and journal entries of pages this large (bytes, characters) or larger are
    // read, filled and written on a worker thread; smaller ones at once.
    qsizetype largePage = 512 * 1024;
    // Whether the files shown are watched for changes made by other programs; off only to
    // measure what the watching costs.
    bool watchFiles = true;
    // Whether the window system tells where a window is (Wayland does not).
    bool windowPositionsKnown = WindowPositions::known();
};
