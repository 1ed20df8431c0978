#include "mainwindow/FixedDialog.h"

#include <QPushButton>
#include <QScreen>

FixedDialog::FixedDialog(const QString& caption, QSize clientSize, bool closeBox, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(caption);
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (closeBox)
        flags |= Qt::WindowCloseButtonHint;
    setWindowFlags(flags);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    setFont(font);
    setFixedSize(clientSize);

    OKBtn = new QPushButton(QStringLiteral("ＯＫ"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void FixedDialog::placeButtons(QPoint at)
{
    OKBtn->setGeometry(at.x(), at.y(), 75, 25);
    CancelBtn->setGeometry(at.x() + 80, at.y(), 75, 25);
}

void FixedDialog::showEvent(QShowEvent* event)
{
    if (const QScreen* target = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(target->geometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}
