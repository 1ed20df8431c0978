#include "mainwindow/MarkupStrSetup.h"

#include <QLineEdit>

#include <limits>

TMarkupStrDlg::TMarkupStrDlg(QWidget* parent)
    : FixedDialog(QStringLiteral("色分け表示記号"), QSize(203, 66), true, parent)
{
    setObjectName(QStringLiteral("MarkupStrDlg"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    // Any length: a symbol may be a whole word.
    Edit1->setMaxLength(std::numeric_limits<int>::max());
    Edit1->setGeometry(8, 8, 187, 21);
    placeButtons(QPoint(40, 36));
    setTabOrder(Edit1, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    Edit1->setFocus();
}

void TMarkupStrDlg::fill(const QString& symbol, const QColor& color)
{
    Edit1->setText(symbol);
    QPalette palette = Edit1->palette();
    palette.setColor(QPalette::Base, color.isValid() ? color : QPalette().color(QPalette::Base));
    Edit1->setPalette(palette);
    Edit1->selectAll();
    Edit1->setFocus();
}

QString TMarkupStrDlg::symbol() const
{
    return Edit1->text();
}
