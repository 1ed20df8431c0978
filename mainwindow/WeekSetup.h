#pragma once

#include "mainwindow/FixedDialog.h"

class QComboBox;

// The first day of the week of the calendar.
class TWeekSetupDlg final : public FixedDialog {
    Q_OBJECT

public:
    explicit TWeekSetupDlg(QWidget* parent = nullptr);

    // The day shown selected: 0 Sunday to 6 Saturday; any other value selects none.
    void fill(int startWeek);
    // The selected day's number, -1 for none.
    int startWeek() const;

    QComboBox* ComboBox1 = nullptr;
};
