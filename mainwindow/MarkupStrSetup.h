#pragma once

#include "mainwindow/FixedDialog.h"

class QLineEdit;

// One markup symbol, shown on its colour.
class TMarkupStrDlg final : public FixedDialog {
    Q_OBJECT

public:
    explicit TMarkupStrDlg(QWidget* parent = nullptr);

    QLineEdit* Edit1 = nullptr;
};
