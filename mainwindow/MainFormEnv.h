#pragma once

#include <QDateTime>
#include <QString>

#include <functional>

class DialogRunner;
class MessageService;
class NotificationArea;
class UrlOpener;

// Everything the main window takes from outside, handed in so tests can steer it.
struct MainFormEnv {
    QString iniPath;           // the settings file
    QString defaultDataFolder; // used until the settings name another
    QString defaultEditorPath;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    MessageService* messages = nullptr;           // must outlive the window
    NotificationArea* notificationArea = nullptr; // none: no tray icon, minimising minimises
    UrlOpener* urlOpener = nullptr;               // none: the desktop's
    DialogRunner* dialogs = nullptr;              // none: the option dialogs run their own loops
};
