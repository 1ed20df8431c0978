#pragma once

#include "mainwindow/FixedDialog.h"

class QColor;
class QLineEdit;

// One markup symbol, shown on its colour.
class TMarkupStrDlg final : public FixedDialog {
    Q_OBJECT

public:
    explicit TMarkupStrDlg(QWidget* parent = nullptr);

    // The symbol, selected, on its colour (an invalid colour: the field's own).
    void fill(const QString& symbol, const QColor& color);
    QString symbol() const;

    QLineEdit* Edit1 = nullptr;
};
