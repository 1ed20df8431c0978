#include "BareWindow.h"

#include "BareGrid.h"

#include "platform/AnsiText.h"

#include <QCalendarWidget>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QToolBar>
#include <QVBoxLayout>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <vector>

namespace {

// Made once per process, as an icon file is decoded once and then cached.
QIcon icon(int shade)
{
    static const std::array<QIcon, 8> icons = [] {
        std::array<QIcon, 8> made;
        for (size_t i = 0; i < made.size(); ++i) {
            QPixmap pixmap(16, 16);
            pixmap.fill(QColor::fromHsv(int(i) * 45, 160, 200));
            made[i] = QIcon(pixmap);
        }
        return made;
    }();
    return icons[size_t(shade) % icons.size()];
}

QToolBar* toolBar(int buttons)
{
    auto* bar = new QToolBar;
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->layout()->setSpacing(0);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < buttons; ++i)
        bar->addAction(icon(i), QString());
    return bar;
}

QWidget* column(QToolBar* bar, QWidget* body)
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(body, 1);
    return panel;
}

// One open, one fstat, one read, one close: no file reads as an empty page.
QByteArray readWhole(const QByteArray& path, struct stat& info)
{
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QByteArray bytes;
    if (::fstat(fd, &info) == 0 && info.st_size > 0) {
        bytes.resize(qsizetype(info.st_size));
        qsizetype done = 0;
        while (done < bytes.size()) {
            const ssize_t got = ::read(fd, bytes.data() + done, size_t(bytes.size() - done));
            if (got <= 0)
                break;
            done += got;
        }
        bytes.truncate(done);
    }
    ::close(fd);
    return bytes;
}

} // namespace

BareWindow::BareWindow(const QString& dataFolder, QDate start, QWidget* parent)
    : QMainWindow(parent), m_folder(QFile::encodeName(dataFolder)), m_date(start)
{
    if (!m_folder.endsWith('/'))
        m_folder.append('/');
    setWindowTitle(QStringLiteral("QuavScheduler"));
    // The fonts the main window's stored names stand for here, named directly.
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(12);
    QFont pageFont(QStringLiteral("Noto Sans Mono CJK JP"));
    pageFont.setPixelSize(12);
    setFont(font);
    resize(617, 461);

    for (const char* title : {"ファイル(&F)", "予定(&S)", "編集(&E)", "表示(&V)", "ヘルプ(&H)"}) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(title));
        for (const char* entry : {"切り取り(&T)", "コピー(&C)", "貼り付け(&P)", "終了(&X)"})
            menu->addAction(QString::fromUtf8(entry));
    }

    QToolBar* bar1 = toolBar(2);
    m_month = new QLabel;
    m_month->setAlignment(Qt::AlignCenter);
    m_month->setFixedHeight(22);
    m_month->setStyleSheet(
        QStringLiteral("QLabel { background-color: rgb(166, 202, 240); padding: 0 4px; }"));
    QFont labelFont(font);
    labelFont.setPixelSize(16);
    m_month->setFont(labelFont);
    bar1->addSeparator();
    bar1->addWidget(m_month);
    bar1->addSeparator();
    bar1->addAction(icon(3), QString());

    m_grid = new BareGrid;

    m_calendar = new QCalendarWidget;
    m_calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    m_calendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    m_calendar->setSelectedDate(start);
    connect(m_calendar, &QCalendarWidget::clicked, this, &BareWindow::changeDate);

    m_tabs = new QTabWidget;
    m_tabs->setDocumentMode(true);
    for (const char* caption : {"ToDo", "メモ", "予定", "日誌", "記念日"}) {
        auto* page = new QPlainTextEdit;
        page->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        page->setFont(pageFont);
        m_pages[size_t(m_tabs->count())] = page;
        m_tabs->addTab(page, QString::fromUtf8(caption));
    }

    auto* right = new QSplitter(Qt::Vertical);
    right->setHandleWidth(5);
    right->addWidget(m_calendar);
    right->addWidget(column(toolBar(4), m_tabs));
    auto* split = new QSplitter(Qt::Horizontal);
    split->setHandleWidth(5);
    split->addWidget(column(bar1, m_grid));
    split->addWidget(column(toolBar(1), right));
    setCentralWidget(split);
    split->setSizes({257, width() - 257 - 5});
    right->setSizes({143, height() - 143});

    m_status = new QLabel;
    statusBar()->setFixedHeight(19);
    statusBar()->addWidget(m_status, 1);

    m_stamps[ToDo] = readPage(ToDo, "ToDo.txt");
    m_stamps[Memo] = readPage(Memo, "Memo.txt");
    loadDatedPages();
    loadMonth();
    markBoldDays();
    showDay();
}

BareWindow::~BareWindow() = default;

void BareWindow::changeDate(QDate date)
{
    // Nothing was typed, so nothing is saved: the floor is the reading side.
    m_date = date;
    m_calendar->setSelectedDate(date); // already so after a click
    reloadIfChanged(ToDo, "ToDo.txt");
    reloadIfChanged(Memo, "Memo.txt");
    loadDatedPages();
    showDay();
}

QString BareWindow::pageText(Page page) const
{
    return m_pages[page]->toPlainText();
}

QString BareWindow::statusText() const
{
    return m_status->text();
}

int BareWindow::currentRow() const
{
    return m_grid->currentRow();
}

void BareWindow::reloadIfChanged(Page page, const char* name)
{
    struct stat info {};
    const QByteArray path = m_folder + name;
    Stamp now;
    if (::stat(path.constData(), &info) == 0)
        now = {qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
    if (now != m_stamps[page])
        m_stamps[page] = readPage(page, name);
}

BareWindow::Stamp BareWindow::readPage(Page page, const QByteArray& name)
{
    struct stat info {};
    const QByteArray bytes = readWhole(m_folder + name, info);
    // A page behind another tab needs its text only, not the editor's reset of view and cursor.
    QPlainTextEdit* editor = m_pages[page];
    if (editor->isVisible())
        editor->setPlainText(AnsiText::decode(bytes));
    else
        editor->document()->setPlainText(AnsiText::decode(bytes));
    if (info.st_ino == 0)
        return {};
    return {qint64(info.st_size), qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

QByteArray BareWindow::datedName(Page page) const
{
    char name[32];
    const int y = m_date.year(), m = m_date.month(), d = m_date.day();
    if (page == Anniv)
        std::snprintf(name, sizeof name, "Anniv%02d%02d.txt", m, d);
    else
        std::snprintf(name, sizeof name, page == Plan ? "Sch%04d%02d%02d.txt" : "%04d%02d%02d.txt", y, m, d);
    return name;
}

void BareWindow::loadDatedPages()
{
    for (Page page : {Plan, Diary, Anniv})
        readPage(page, datedName(page));
}

// A plain comma split: the quoting rules of the real reader cost more, never less.
void BareWindow::loadMonth()
{
    char name[16];
    std::snprintf(name, sizeof name, "%04d%02d.csv", m_date.year(), m_date.month());
    struct stat info {};
    const QStringList lines =
        AnsiText::decode(readWhole(m_folder + name, info)).split(QStringLiteral("\r\n"));
    std::vector<QStringList> rows;
    rows.push_back({QString(), QStringLiteral("予定1"), QStringLiteral("予定2"), QStringLiteral("予定3")});
    for (int day = 1; day <= m_date.daysInMonth(); ++day)
        rows.push_back(day < lines.size() ? lines[day].split(u',') : QStringList{QString::number(day)});
    m_grid->setRows(std::move(rows));
}

// One stat per name until a day is found marked: the least the bold days can cost.
void BareWindow::markBoldDays()
{
    const int folder = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    const QDate first(m_date.year(), m_date.month(), 1);
    for (int d = 1; d <= first.daysInMonth(); ++d) {
        char names[3][32];
        std::snprintf(names[0], sizeof names[0], "Anniv%02d%02d.txt", first.month(), d);
        std::snprintf(names[1], sizeof names[1], "%04d%02d%02d.txt", first.year(), first.month(), d);
        std::snprintf(names[2], sizeof names[2], "Sch%04d%02d%02d.txt", first.year(), first.month(), d);
        for (const char* name : names) {
            struct stat info {};
            if (folder >= 0 && ::fstatat(folder, name, &info, 0) == 0) {
                m_boldDays |= 1u << (d - 1);
                m_calendar->setDateTextFormat(QDate(first.year(), first.month(), d), bold);
                break;
            }
        }
    }
    if (folder >= 0)
        ::close(folder);
}

void BareWindow::showDay()
{
    // Within a month the label keeps its text; setting it again would repaint its tool bar.
    const QString month = QStringLiteral(" %1年 %2月").arg(m_date.year()).arg(m_date.month());
    if (m_month->text() != month)
        m_month->setText(month);
    m_grid->setCurrentRow(m_date.day());
    m_status->setText(m_date.toString(QStringLiteral("yyyy年MM月dd日")));
}
