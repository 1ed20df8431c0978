#include "mainwindow/OptionDialogs.h"

#include "mainwindow/EditorSetup.h"
#include "mainwindow/MarkupStrSetup.h"
#include "mainwindow/SchItemSetup.h"
#include "mainwindow/WeekSetup.h"

OptionDialogs::OptionDialogs(DialogRunner& runner)
    : m_editorSetup(std::make_unique<TEditorSetupDlg>(runner)),
      m_weekSetup(std::make_unique<TWeekSetupDlg>()), m_schItem(std::make_unique<TSchItemDlg>()),
      m_markupStr(std::make_unique<TMarkupStrDlg>())
{
}

OptionDialogs::~OptionDialogs() = default;
