#include "mainwindow/DataFolderDialog.h"

#include <QMessageBox>
#include <QPushButton>

DataFolderChoice askDataFolderWithDialog(QWidget* parent, const QString& message)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("QuavScheduler"));
    box.setIcon(QMessageBox::Warning);
    box.setText(message);
    QPushButton* pick = box.addButton(QStringLiteral("フォルダを選ぶ(&S)..."), QMessageBox::AcceptRole);
    QPushButton* standard =
        box.addButton(QStringLiteral("既定のフォルダを使う(&D)"), QMessageBox::RejectRole);
    box.setDefaultButton(pick);
    box.setEscapeButton(standard);
    box.exec();
    return box.clickedButton() == pick ? DataFolderChoice::Pick : DataFolderChoice::UseDefault;
}
