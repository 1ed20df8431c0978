#include "mainwindow/WeekSetup.h"

#include <QComboBox>

TWeekSetupDlg::TWeekSetupDlg(QWidget* parent)
    : FixedDialog(QStringLiteral("表示開始曜日設定"), QSize(186, 78), false, parent)
{
    setObjectName(QStringLiteral("WeekSetupDlg"));
    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->addItems({QStringLiteral("日曜日"), QStringLiteral("月曜日"), QStringLiteral("火曜日"),
                         QStringLiteral("水曜日"), QStringLiteral("木曜日"), QStringLiteral("金曜日"),
                         QStringLiteral("土曜日")});
    ComboBox1->setGeometry(8, 8, 170, 22);
    placeButtons(QPoint(24, 44));
    setTabOrder(ComboBox1, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
    ComboBox1->setFocus();
}

void TWeekSetupDlg::fill(int startWeek)
{
    ComboBox1->setCurrentIndex(startWeek >= 0 && startWeek < ComboBox1->count() ? startWeek : -1);
    ComboBox1->setFocus();
}

int TWeekSetupDlg::startWeek() const
{
    return ComboBox1->currentIndex();
}
