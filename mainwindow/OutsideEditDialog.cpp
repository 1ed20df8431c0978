#include "mainwindow/OutsideEditDialog.h"

#include <QMessageBox>
#include <QPushButton>

OutsideEditChoice askOutsideEditWithDialog(QWidget* parent, const QString& path)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("QuavScheduler"));
    box.setIcon(QMessageBox::Warning);
    box.setText(QStringLiteral("ファイル\"") + path +
                QStringLiteral("\"は、読み込んだ後にほかのプログラムによって変更されています。"));
    box.setInformativeText(QStringLiteral("「両方残す」を選ぶと、この画面の内容は別名のファイルに書き込み、"
                                          "画面にはファイルの内容を読み込みます。"));
    QPushButton* mine = box.addButton(QStringLiteral("画面の内容で上書き(&O)"), QMessageBox::AcceptRole);
    QPushButton* file =
        box.addButton(QStringLiteral("ファイルの内容を読み込む(&R)"), QMessageBox::AcceptRole);
    QPushButton* both = box.addButton(QStringLiteral("両方残す(&B)"), QMessageBox::RejectRole);
    box.setDefaultButton(both);
    box.setEscapeButton(both);
    box.exec();
    if (box.clickedButton() == mine)
        return OutsideEditChoice::KeepMine;
    if (box.clickedButton() == file)
        return OutsideEditChoice::TakeFile;
    return OutsideEditChoice::KeepBoth;
}
