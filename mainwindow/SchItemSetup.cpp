#include "mainwindow/SchItemSetup.h"

#include "schedule/ColumnCaptions.h"

#include <QPlainTextEdit>

TSchItemDlg::TSchItemDlg(QWidget* parent)
    : FixedDialog(QStringLiteral("項目設定"), QSize(218, 204), false, parent)
{
    setObjectName(QStringLiteral("SchItemDlg"));
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // A caption holds no tab: Tab moves on to the buttons, Enter starts a new line.
    Memo1->setTabChangesFocus(true);
    Memo1->setGeometry(8, 8, 202, 156);
    placeButtons(QPoint(56, 172));
    setTabOrder(Memo1, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    Memo1->setFocus();
}

void TSchItemDlg::fill(const QStringList& captions)
{
    Memo1->setPlainText(ColumnCaptions::toText(captions));
    Memo1->setFocus();
}

QStringList TSchItemDlg::captions() const
{
    QStringList lines = ColumnCaptions::fromText(Memo1->toPlainText());
    if (lines.isEmpty())
        lines.append(QStringLiteral("予定"));
    return lines;
}
