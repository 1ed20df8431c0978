#pragma once

#include "mainwindow/FixedDialog.h"

class QComboBox;

// The first day of the week of the calendar.
class TWeekSetupDlg final : public FixedDialog {
    Q_OBJECT

public:
    explicit TWeekSetupDlg(QWidget* parent = nullptr);

    QComboBox* ComboBox1 = nullptr;
};
