#pragma once

#include "sync/model/MergeText.h"

#include <QDialog>

#include <optional>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// 比較して統合: a data file's text and a sync tool's copy of it side by side, the lines only one
// of them has marked, and the user takes the file's, the copy's or both.
class MergeDialog final : public QDialog {
    Q_OBJECT
public:
    MergeDialog(const QString& fileName, const QString& fileText, const QString& copyName,
                const QString& copyText, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(MergeDialog)

    QPlainTextEdit* FileText = nullptr;
    QPlainTextEdit* CopyText = nullptr;
    QLabel* Summary = nullptr;
    QPushButton* TakeFile = nullptr;
    QPushButton* TakeCopy = nullptr;
    QPushButton* TakeBoth = nullptr;
    QPushButton* Cancel = nullptr;

    // What the user took; nothing when the dialog was cancelled.
    std::optional<MergeText::Choice> choice() const { return m_choice; }
    // The text to keep; the file's own while nothing was taken.
    QString mergedText() const;

private:
    void take(MergeText::Choice choice);

    QString m_fileText;
    QString m_copyText;
    std::optional<MergeText::Choice> m_choice;
};
