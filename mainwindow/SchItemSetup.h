#pragma once

#include "mainwindow/FixedDialog.h"

class QPlainTextEdit;

// The column captions of the month grid, one per line.
class TSchItemDlg final : public FixedDialog {
    Q_OBJECT

public:
    explicit TSchItemDlg(QWidget* parent = nullptr);

    QPlainTextEdit* Memo1 = nullptr;
};
