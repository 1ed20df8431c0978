#pragma once

#include "mainwindow/MonthViewLink.h"

#include <QWidget>

#include <array>

class QLabel;
class QPainter;
class QSplitter;
class QSplitterHandle;
class MessageService;
class MonthViewSource;
class TjvStringGrid;
struct TGridDrawState;

// Three consecutive months of schedules side by side, a read-only snapshot filled from the
// month files each time the main window's command opens it. Only its own place and panel
// widths are stored. Created once, hidden, after the main window; closing hides it.
class TSomeMonthViewForm final : public QWidget, public MonthViewLink {
    Q_OBJECT

public:
    // Both must outlive the view.
    TSomeMonthViewForm(const MonthViewSource& mainForm, MessageService& messages, QWidget* parent = nullptr);
    ~TSomeMonthViewForm() override;
    Q_DISABLE_COPY_MOVE(TSomeMonthViewForm)

    QWidget* Panel1 = nullptr;
    QWidget* Panel2 = nullptr;
    QWidget* Panel3 = nullptr;
    QSplitter* Splitter = nullptr; // its handles are Splitter1 and Splitter2
    QSplitterHandle* Splitter1 = nullptr;
    QSplitterHandle* Splitter2 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    TjvStringGrid* jvStringGrid1 = nullptr;
    TjvStringGrid* jvStringGrid2 = nullptr;
    TjvStringGrid* jvStringGrid3 = nullptr;

    // Slot 0 is the left panel, the selected month; 1 and 2 the two months after it.
    std::array<QLabel*, 3> MonthLabels{};
    std::array<TjvStringGrid*, 3> MonthGrids{};
    std::array<quint16, 3> MonthYears{};
    std::array<quint16, 3> MonthNumbers{};
    std::array<QString, 3> MonthFiles;

    // Throws when a month file exists but cannot be read; the view is then left as it was.
    void RefreshMonths() override;
    void ShowMonths() override;
    // The skeleton of a month without a file: day captions and empty schedule cells.
    void FillEmptyMonth(int slot);
    void jvStringGrid1DrawCell(TjvStringGrid& sender, int col, int row, const QRect& rect,
                               TGridDrawState state, QPainter& painter);

    void setVisible(bool visible) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildLayout();
    void FormCreate();
    void FormClose();
    void copyColumnCaptions(int slot);

    const MonthViewSource& m_main;
    MessageService& m_messages;
};
