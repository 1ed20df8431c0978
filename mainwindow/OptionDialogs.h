#pragma once

#include <QPointer>

class DialogRunner;
class QWidget;
class TEditorSetupDlg;
class TMarkupStrDlg;
class TSchItemDlg;
class TWeekSetupDlg;

// The dialogs of the option commands, created once at start in this order and kept, hidden,
// until the program ends. They belong to `owner` (the main window), so the window manager keeps
// them above it and their closing is never taken for the program's last window closing.
class OptionDialogs final {
public:
    // `runner` must outlive the dialogs.
    explicit OptionDialogs(DialogRunner& runner, QWidget* owner = nullptr);
    ~OptionDialogs();
    OptionDialogs(const OptionDialogs&) = delete;
    OptionDialogs& operator=(const OptionDialogs&) = delete;

    TEditorSetupDlg& EditorSetupDlg() const;
    TWeekSetupDlg& WeekSetupDlg() const;
    TSchItemDlg& SchItemDlg() const;
    TMarkupStrDlg& MarkupStrDlg() const;

private:
    // Guarded: whichever of these and the owner goes first, each dialog is deleted once.
    QPointer<TEditorSetupDlg> m_editorSetup;
    QPointer<TWeekSetupDlg> m_weekSetup;
    QPointer<TSchItemDlg> m_schItem;
    QPointer<TMarkupStrDlg> m_markupStr;
};
