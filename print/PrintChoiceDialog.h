#pragma once

#include "print/PrintChoice.h"

#include <QDialog>

#include <functional>

class QComboBox;
class QDateEdit;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The small dialog that chooses what to print or export: the month grid, the diary and plans of
// a period, ToDo or メモ; the paper; and, when printing, the printer or a PDF or text file.
class PrintChoiceDialog final : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Print, Preview };
    // The period starts as the month of `shown`.
    PrintChoiceDialog(Mode mode, QDate shown, QWidget* parent = nullptr);

    PrintChoice choice() const;

    // Asks for the file to write; empty when the user cancelled. Unset: the platform's dialog.
    std::function<QString(PrintChoice::Output output, const QString& suggested)> chooseFile;

    QRadioButton* MonthRadio = nullptr;
    QRadioButton* PeriodRadio = nullptr;
    QRadioButton* ToDoRadio = nullptr;
    QRadioButton* MemoRadio = nullptr;
    QDateEdit* FromDate = nullptr;
    QDateEdit* ToDate = nullptr;
    QComboBox* PaperBox = nullptr;
    QComboBox* OrientationBox = nullptr;
    QComboBox* OutputBox = nullptr; // hidden in a preview
    QLineEdit* FileEdit = nullptr;
    QPushButton* BrowseButton = nullptr;
    QDialogButtonBox* Buttons = nullptr;

    void accept() override;

private:
    void update();
    void browse();
    PrintChoice::Output output() const;
    QString suggestedName() const;

    Mode m_mode;
    QDate m_shown;
};
