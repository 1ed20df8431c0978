#include "mainwindow/EditorSetup.h"

#include "controls/DialogRunner.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>

namespace {

// Programs here carry no name extension: the file dialog lists folders and executable files.
class ExecutableFilter final : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

protected:
    bool filterAcceptsRow(int row, const QModelIndex& parent) const override
    {
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (!files)
            return true;
        const QFileInfo info = files->fileInfo(files->index(row, 0, parent));
        return info.isDir() || (info.isFile() && info.isExecutable());
    }
};

QLineEdit* makeEdit(const QString& name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setGeometry(12, 24, 257, 21);
    return edit;
}

QPushButton* makeBrowse(const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(QStringLiteral("参照..."), parent);
    button->setObjectName(name);
    // Enter on the focused button presses it; elsewhere in the dialog Enter is ＯＫ.
    button->setAutoDefault(true);
    button->setGeometry(276, 22, 65, 25);
    return button;
}

} // namespace

TEditorSetupDlg::TEditorSetupDlg(DialogRunner& runner, QWidget* parent)
    : FixedDialog(QStringLiteral("各種設定"), QSize(369, 201), false, parent), m_runner(runner)
{
    setObjectName(QStringLiteral("EditorSetupDlg"));
    GroupBox1 = new QGroupBox(QStringLiteral("外部エディタ"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(8, 8, 353, 65);
    Edit1 = makeEdit(QStringLiteral("Edit1"), GroupBox1);
    Button1 = makeBrowse(QStringLiteral("Button1"), GroupBox1);
    GroupBox2 = new QGroupBox(QStringLiteral("データフォルダ"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(8, 84, 353, 65);
    Edit2 = makeEdit(QStringLiteral("Edit2"), GroupBox2);
    Button2 = makeBrowse(QStringLiteral("Button2"), GroupBox2);
    placeButtons(QPoint(206, 166));
    setTabOrder(Edit1, Button1);
    setTabOrder(Button1, Edit2);
    setTabOrder(Edit2, Button2);
    setTabOrder(Button2, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    connect(Button1, &QPushButton::clicked, this, &TEditorSetupDlg::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TEditorSetupDlg::Button2Click);

    SHFolder1 = new TSHBrowseForFolderEx(this);
    SHFolder1->setObjectName(QStringLiteral("SHFolder1"));
    SHFolder1->SetRootFolder(rfDesktop);
    SHFolder1->SetSelectFolder(sfDrives);
    SHFolder1->SetShowStyle(ssClient);
    SHFolder1->SetOptions(sboReturnOnlyFSDirs);
    SHFolder1->SetCaption(QString());
    SHFolder1->setDialogRunner(&m_runner);
    SHFolder1->OnSelectionChanged = [this](TSHBrowseForFolderEx& sender, QWidget* wnd, const QString& path,
                                           QString& showText, TOKButtonState& okButtonState) {
        SHFolder1SelectionChanged(sender, wnd, path, showText, okButtonState);
    };
}

TEditorSetupDlg::~TEditorSetupDlg() = default;

QFileDialog* TEditorSetupDlg::OpenDialog()
{
    if (!m_openDialog) {
        m_openDialog = new QFileDialog(this);
        m_openDialog->setObjectName(QStringLiteral("OpenDialog"));
        // Our own dialog, not the desktop's: only it takes the filter of executables.
        m_openDialog->setOption(QFileDialog::DontUseNativeDialog);
        m_openDialog->setOption(QFileDialog::HideNameFilterDetails);
        m_openDialog->setFileMode(QFileDialog::ExistingFile);
        m_openDialog->setAcceptMode(QFileDialog::AcceptOpen);
        m_openDialog->setNameFilter(QStringLiteral("実行ファイル (*)"));
        m_openDialog->setProxyModel(new ExecutableFilter(m_openDialog));
    }
    return m_openDialog;
}

QString TEditorSetupDlg::folderPart(const QString& path)
{
    return path.left(path.lastIndexOf(u'/') + 1);
}

void TEditorSetupDlg::Button1Click()
{
    QFileDialog* dialog = OpenDialog();
    dialog->setDirectory(OpenDialogInitialDir);
    dialog->selectFile(QString());
    if (!m_runner.run(*dialog))
        return;
    const QStringList chosen = dialog->selectedFiles();
    if (!chosen.isEmpty() && !chosen.first().isEmpty())
        Edit1->setText(chosen.first());
}

void TEditorSetupDlg::Button2Click()
{
    SHFolder1->SetSelectFolderName(Edit2->text());
    if (SHFolder1->Execute())
        Edit2->setText(SHFolder1->SelectFolderName());
}

void TEditorSetupDlg::SHFolder1SelectionChanged(TSHBrowseForFolderEx&, QWidget*, const QString& path,
                                                QString&, TOKButtonState&)
{
    SHFolder1->SetSelectFolderName(path.endsWith(u'/') ? path : path + u'/');
}

void TEditorSetupDlg::fill(const QString& shownEditor, const QString& storedEditor, const QString& dataFolder)
{
    Edit1->setText(shownEditor);
    OpenDialogInitialDir = folderPart(storedEditor);
    Edit2->setText(dataFolder);
    Edit1->setFocus();
}

QString TEditorSetupDlg::editorPath() const
{
    return Edit1->text();
}

QString TEditorSetupDlg::dataFolder() const
{
    return Edit2->text();
}
