#pragma once

#include "controls/SHBFFEX.h"
#include "mainwindow/FixedDialog.h"

class DialogRunner;
class QFileDialog;
class QGroupBox;
class QLineEdit;
class QPushButton;

// The external editor and the data folder, both edited as plain texts.
class TEditorSetupDlg final : public FixedDialog {
    Q_OBJECT

public:
    // `runner` shows the file dialog and the folder picker; it must outlive the dialog.
    explicit TEditorSetupDlg(DialogRunner& runner, QWidget* parent = nullptr);
    ~TEditorSetupDlg() override;

    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* Button2 = nullptr;
    TSHBrowseForFolderEx* SHFolder1 = nullptr;
    // The folder the file dialog opens in; the dialog itself is made at its first use.
    QString OpenDialogInitialDir;
    QFileDialog* OpenDialog();

    void Button1Click();
    void Button2Click();
    void SHFolder1SelectionChanged(TSHBrowseForFolderEx& sender, QWidget* wnd, const QString& path,
                                   QString& showText, TOKButtonState& okButtonState);

    // The editor's path and the data folder as stored; the file dialog opens in the editor's folder.
    void fill(const QString& shownEditor, const QString& storedEditor, const QString& dataFolder);
    QString editorPath() const;
    QString dataFolder() const;

    // Everything up to and including the last separator: the folder the file dialog opens in.
    static QString folderPart(const QString& path);

private:
    DialogRunner& m_runner;
    QFileDialog* m_openDialog = nullptr;
};
