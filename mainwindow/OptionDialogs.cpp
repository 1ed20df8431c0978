#include "mainwindow/OptionDialogs.h"

#include "mainwindow/EditorSetup.h"
#include "mainwindow/MarkupStrSetup.h"
#include "mainwindow/SchItemSetup.h"
#include "mainwindow/WeekSetup.h"

OptionDialogs::OptionDialogs(DialogRunner& runner, QWidget* owner)
    : m_editorSetup(new TEditorSetupDlg(runner, owner)), m_weekSetup(new TWeekSetupDlg(owner)),
      m_schItem(new TSchItemDlg(owner)), m_markupStr(new TMarkupStrDlg(owner))
{
}

OptionDialogs::~OptionDialogs()
{
    delete m_markupStr.data();
    delete m_schItem.data();
    delete m_weekSetup.data();
    delete m_editorSetup.data();
}

TEditorSetupDlg& OptionDialogs::EditorSetupDlg() const
{
    return *m_editorSetup;
}

TWeekSetupDlg& OptionDialogs::WeekSetupDlg() const
{
    return *m_weekSetup;
}

TSchItemDlg& OptionDialogs::SchItemDlg() const
{
    return *m_schItem;
}

TMarkupStrDlg& OptionDialogs::MarkupStrDlg() const
{
    return *m_markupStr;
}
