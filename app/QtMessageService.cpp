#include "app/QtMessageService.h"

#include "controls/FocusReturn.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

QWidget* QtMessageService::boxParent() const
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* active = QApplication::activeWindow())
        return active;
    return m_owner;
}

MessageService::Answer QtMessageService::show(const QString& text, Icon icon, Buttons buttons,
                                              const QString& caption)
{
    const FocusReturn focus;
    QMessageBox box(boxParent());
    box.setWindowTitle(caption.isEmpty() ? QApplication::applicationName() : caption);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case Icon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (buttons == Buttons::OkCancel) {
        box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == cancel || box.clickedButton() == nullptr ? Answer::Cancel : Answer::Ok;
    }
    box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.exec();
    return Answer::Ok;
}
