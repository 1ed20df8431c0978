#pragma once

#include <QDate>
#include <QMainWindow>

#include <array>

class BareGrid;
class QCalendarWidget;
class QLabel;
class QPlainTextEdit;
class QTabWidget;

// The floor the main window is measured against: stock Qt widgets of the same kinds, sizes and
// layout, over the same data folder, doing the least each step must. At start it reads the
// month file, the five pages and the bold days of the month shown; a date change within a month
// reads the three dated pages once, asks ToDo and メモ for their size and time only (a page
// changed on disk is read again), and shows the day.
class BareWindow final : public QMainWindow {
public:
    enum Page { ToDo, Memo, Plan, Diary, Anniv, PageCount };

    BareWindow(const QString& dataFolder, QDate start, QWidget* parent = nullptr);
    ~BareWindow() override;
    Q_DISABLE_COPY_MOVE(BareWindow)

    void changeDate(QDate date);
    QDate date() const { return m_date; }

    QString pageText(Page page) const;
    QString statusText() const;
    int currentRow() const; // the day of the month of the grid's current row
    quint32 boldDays() const { return m_boldDays; }
    QCalendarWidget* calendar() const { return m_calendar; }

private:
    struct Stamp {
        qint64 size = -1;
        qint64 mtimeNs = -1;
        bool operator==(const Stamp&) const = default;
    };

    void loadMonth();
    void markBoldDays();
    void loadDatedPages();
    void reloadIfChanged(Page page, const char* name);
    void showDay();
    Stamp readPage(Page page, const QByteArray& name);
    QByteArray datedName(Page page) const;

    QByteArray m_folder; // in the file system's encoding, with a separator
    QDate m_date;
    quint32 m_boldDays = 0;
    std::array<Stamp, PageCount> m_stamps{};
    QCalendarWidget* m_calendar = nullptr;
    BareGrid* m_grid = nullptr;
    QTabWidget* m_tabs = nullptr;
    std::array<QPlainTextEdit*, PageCount> m_pages{};
    QLabel* m_month = nullptr;
    QLabel* m_status = nullptr;
};
