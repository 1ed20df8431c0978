#pragma once

#include <QDialog>
#include <QPushButton>

// The frame the option dialogs share: a fixed client size, centred on the screen each time it
// opens, a default OK button and a cancel button that Escape presses too.
class FixedDialog : public QDialog {
    Q_OBJECT

public:
    FixedDialog(const QString& caption, QSize clientSize, bool closeBox, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(FixedDialog)

    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

protected:
    // Places the two buttons side by side with their top-left corner of OK at `at`.
    void placeButtons(QPoint at);
    void showEvent(QShowEvent* event) override;
};
