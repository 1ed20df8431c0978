#pragma once

#include "mainwindow/FixedDialog.h"

#include <QStringList>

class QPlainTextEdit;

// The column captions of the month grid, one per line.
class TSchItemDlg final : public FixedDialog {
    Q_OBJECT

public:
    explicit TSchItemDlg(QWidget* parent = nullptr);

    // The captions, one per line.
    void fill(const QStringList& captions);
    // The lines as typed, empty ones dropped; never none.
    QStringList captions() const;

    QPlainTextEdit* Memo1 = nullptr;
};
