#pragma once

#include <memory>

class DialogRunner;
class TEditorSetupDlg;
class TMarkupStrDlg;
class TSchItemDlg;
class TWeekSetupDlg;

// The dialogs of the option commands, created once at start in this order and kept, hidden,
// until the program ends.
class OptionDialogs final {
public:
    // `runner` must outlive the dialogs.
    explicit OptionDialogs(DialogRunner& runner);
    ~OptionDialogs();
    OptionDialogs(const OptionDialogs&) = delete;
    OptionDialogs& operator=(const OptionDialogs&) = delete;

    TEditorSetupDlg& EditorSetupDlg() const { return *m_editorSetup; }
    TWeekSetupDlg& WeekSetupDlg() const { return *m_weekSetup; }
    TSchItemDlg& SchItemDlg() const { return *m_schItem; }
    TMarkupStrDlg& MarkupStrDlg() const { return *m_markupStr; }

private:
    std::unique_ptr<TEditorSetupDlg> m_editorSetup;
    std::unique_ptr<TWeekSetupDlg> m_weekSetup;
    std::unique_ptr<TSchItemDlg> m_schItem;
    std::unique_ptr<TMarkupStrDlg> m_markupStr;
};
