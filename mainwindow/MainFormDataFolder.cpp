// The data folder and the editor named in the settings, as far as this computer can use them.
#include "mainwindow/schedule.h"

#include "controls/SHBFFEX.h"
#include "mainwindow/DataFolderDialog.h"
#include "schedule/DataFolderCheck.h"

#include <QFileInfo>

void TMainForm::settleDataFolder()
{
    const QString stored = DataFolder;
    // Only a folder the settings name is in question; the default one has nothing to fall back to.
    if (stored == m_env.defaultDataFolder)
        return;
    const DataFolderCheck::Result found =
        DataFolderCheck::check(stored, QFileInfo(IniPath).path(), DataFolderCheck::Mounts::system());
    if (found.finding == DataFolderCheck::Finding::Usable) {
        if (found.folder != stored)
            useFolderForThisRun(stored, found.folder);
        return;
    }
    // Never the current folder or an empty mount folder: the user decides, once, before any file
    // is read or written. The window is not shown yet, so the box stands alone on the screen.
    const QString message = DataFolderCheck::message(found.finding, stored, m_env.defaultDataFolder);
    const DataFolderChoice choice =
        m_env.askDataFolder ? m_env.askDataFolder(message) : askDataFolderWithDialog(nullptr, message);
    if (choice == DataFolderChoice::Pick) {
        const QString picked = pickDataFolder();
        if (!picked.isEmpty()) {
            DataFolder = picked; // chosen: the settings keep it at close
            return;
        }
    }
    useFolderForThisRun(stored, m_env.defaultDataFolder);
}

void TMainForm::useFolderForThisRun(const QString& stored, const QString& folder)
{
    m_keptFolder = stored;
    m_folderStandIn = folder;
    m_folderKept = true;
    DataFolder = folder;
}

QString TMainForm::pickDataFolder()
{
    TSHBrowseForFolderEx picker(this);
    picker.SetRootFolder(rfDesktop);
    picker.SetSelectFolder(sfDrives);
    picker.SetShowStyle(ssCenterScreen);
    picker.SetOptions(sboReturnOnlyFSDirs);
    picker.SetCaption(QStringLiteral("データフォルダを選んでください。"));
    picker.setDialogRunner(m_env.dialogs);
    if (!picker.Execute() || picker.FolderPath().isEmpty())
        return {};
    const QString path = picker.FolderPath();
    return path.endsWith(u'/') ? path : path + u'/';
}

bool TMainForm::keepStoredEditor(const QString& stored)
{
    // A Windows program cannot run here: no editor chosen, and the text stays for that system.
    if (!DataFolderCheck::isWindowsPath(stored))
        return false;
    m_keptEditor = stored;
    m_editorStandIn = EditorPath;
    return true;
}

QString TMainForm::storedDataFolder() const
{
    return m_folderKept && DataFolder == m_folderStandIn ? m_keptFolder : DataFolder;
}

QString TMainForm::storedEditorPath()
{
    const QString& editor = editorPath();
    return !m_keptEditor.isEmpty() && editor == m_editorStandIn ? m_keptEditor : editor;
}
