#include "monthview/SomeMonthViewUnit.h"

#include "controls/FilledLabel.h"
#include "controls/jvStringGrid.h"
#include "mainwindow/MarkedCell.h"
#include "mainwindow/MonthViewSource.h"
#include "schedule/DataFileNames.h"
#include "schedule/DayFiles.h"
#include "schedule/Markup.h"
#include "schedule/MonthGrid.h"
#include "schedule/StoredGeometry.h"
#include "monthview/MonthViewSettings.h"
#include "platform/Failure.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QSplitter>
#include <QVBoxLayout>

#include <optional>

namespace {

constexpr int kPanelWidth = 225;

QLabel* makeMonthLabel(const QString& name, const QColor& background)
{
    auto* label = new FilledLabel(background);
    label->setObjectName(name);
    label->setFixedHeight(16);
    label->setAlignment(Qt::AlignCenter);
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(16);
    label->setFont(font);
    return label;
}

TjvStringGrid* makeGrid(const QString& name)
{
    auto* grid = new TjvStringGrid;
    grid->setObjectName(name);
    grid->setColCount(4);
    grid->setFixedCols(1);
    grid->setFixedRows(1);
    grid->setDefaultColWidth(50);
    grid->setDefaultRowHeight(16);
    // Read-only: no goEditing.
    grid->setOptions(TjvStringGrid::goFixedVertLine | TjvStringGrid::goFixedHorzLine |
                     TjvStringGrid::goVertLine | TjvStringGrid::goHorzLine | TjvStringGrid::goColSizing);
    return grid;
}

QWidget* makePanel(const QString& name, QLabel* label, TjvStringGrid* grid)
{
    auto* panel = new QWidget;
    panel->setObjectName(name);
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(label);
    layout->addWidget(grid, 1);
    return panel;
}

} // namespace

TSomeMonthViewForm::TSomeMonthViewForm(const MonthViewSource& mainForm, MessageService& messages,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), m_main(mainForm), m_messages(messages)
{
    buildLayout();
    try {
        FormCreate();
    } catch (const EQuavError& failure) {
        // An unreadable settings file costs the stored place, not the view.
        m_messages.error(failure.message());
    }
}

TSomeMonthViewForm::~TSomeMonthViewForm() = default;

void TSomeMonthViewForm::buildLayout()
{
    setObjectName(QStringLiteral("SomeMonthViewForm"));
    setWindowTitle(QStringLiteral("QuavScheduler ３ヶ月表示"));
    // The main window alone decides when the program ends, even while this one is open.
    setAttribute(Qt::WA_QuitOnClose, false);
    QFont windowFont(QStringLiteral("ＭＳ Ｐゴシック"));
    windowFont.setPixelSize(12);
    setFont(windowFont);
    setWindowIcon(m_main.icon());

    const QColor skyBlue(166, 202, 240);
    const QColor moneyGreen(192, 220, 192);
    Label1 = makeMonthLabel(QStringLiteral("Label1"), skyBlue);
    Label2 = makeMonthLabel(QStringLiteral("Label2"), moneyGreen);
    Label3 = makeMonthLabel(QStringLiteral("Label3"), moneyGreen);
    jvStringGrid1 = makeGrid(QStringLiteral("jvStringGrid1"));
    jvStringGrid2 = makeGrid(QStringLiteral("jvStringGrid2"));
    jvStringGrid3 = makeGrid(QStringLiteral("jvStringGrid3"));
    Panel1 = makePanel(QStringLiteral("Panel1"), Label1, jvStringGrid1);
    Panel2 = makePanel(QStringLiteral("Panel2"), Label2, jvStringGrid2);
    Panel3 = makePanel(QStringLiteral("Panel3"), Label3, jvStringGrid3);

    Splitter = new QSplitter(Qt::Horizontal);
    Splitter->setObjectName(QStringLiteral("Splitter"));
    Splitter->setHandleWidth(4);
    Splitter->setChildrenCollapsible(false);
    Splitter->addWidget(Panel1);
    Splitter->addWidget(Panel2);
    Splitter->addWidget(Panel3);
    // Resizing the window, or dragging a handle, changes the panel to the handle's left and Panel3.
    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 0);
    Splitter->setStretchFactor(2, 1);
    Splitter1 = Splitter->handle(1);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter2 = Splitter->handle(2);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Splitter);

    for (TjvStringGrid* grid : {jvStringGrid1, jvStringGrid2, jvStringGrid3}) {
        grid->OnDrawCell = [this](TjvStringGrid& sender, int col, int row, const QRect& rect,
                                  TGridDrawState state, QPainter& painter) {
            jvStringGrid1DrawCell(sender, col, row, rect, state, painter);
        };
    }
    // Closing from the keyboard, also where no window manager offers its own keys.
    auto* closeView = new QAction(this);
    closeView->setObjectName(QStringLiteral("CloseView"));
    closeView->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(QKeySequence::Close)});
    connect(closeView, &QAction::triggered, this, &QWidget::close);
    addAction(closeView);

    move(207, 140);
    resize(695, 480);
}

void TSomeMonthViewForm::FormCreate()
{
    MonthViewSettings s;
    s.top = y();
    s.left = x();
    s.width = width();
    s.height = height();
    s.p1Width = kPanelWidth;
    s.p2Width = kPanelWidth;
    // At program start the main window has just read the file: its copy serves.
    const ProfileBatch* atStart = m_main.settingsReadAtStart();
    if (atStart && atStart->path() == m_main.settingsPath())
        s.read(*atStart);
    else
        s.read(ProfileBatch(m_main.settingsPath()));
    move(s.left, s.top);
    resize(s.width, s.height);
    Splitter->setSizes(
        {s.p1Width, s.p2Width, std::max(1, s.width - s.p1Width - s.p2Width - 2 * Splitter->handleWidth())});

    MonthGrids = {jvStringGrid1, jvStringGrid2, jvStringGrid3};
    MonthLabels = {Label1, Label2, Label3};
}

void TSomeMonthViewForm::closeEvent(QCloseEvent* event)
{
    try {
        FormClose();
    } catch (const EQuavError& failure) {
        // The place is lost, nothing else: the window still closes as asked.
        m_messages.error(failure.message());
    }
    event->accept();
}

void TSomeMonthViewForm::FormClose()
{
    MonthViewSettings s;
    const QRect frame = frameGeometry();
    s.top = frame.top();
    s.left = frame.left();
    s.width = width();
    s.height = height();
    s.p1Width = Panel1->width();
    s.p2Width = Panel2->width();
    s.positionKnown = m_main.windowPositionsKnown();
    ProfileBatch ini(m_main.settingsPath());
    s.write(ini);
    ini.commit();
}

void TSomeMonthViewForm::setVisible(bool visible)
{
    if (visible && !isVisible()) {
        // A place stored for a screen that is gone would open the view where nobody sees it.
        QList<QRect> screens;
        if (const QScreen* primary = QGuiApplication::primaryScreen())
            screens.append(primary->availableGeometry());
        for (const QScreen* screen : QGuiApplication::screens()) {
            if (screen != QGuiApplication::primaryScreen())
                screens.append(screen->availableGeometry());
        }
        const QRect frame = frameGeometry();
        // Only moved: the view keeps the size it was given, its top-left corner on the screen.
        const QPoint place = StoredGeometry::onScreen(frame, screens).topLeft();
        if (place != frame.topLeft())
            move(place);
    }
    QWidget::setVisible(visible);
}

void TSomeMonthViewForm::ShowMonths()
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void TSomeMonthViewForm::RefreshMonths()
{
    const QDate selected = m_main.selectedDate();
    std::array<QDate, 3> months;
    months[0] = QDate(selected.year(), selected.month(), 1);
    months[1] = months[0].addMonths(1);
    months[2] = months[1].addMonths(1);

    // Every file is read before anything changes, so a file that cannot be read leaves the
    // view showing the months it showed, never one month's label over another's schedule.
    std::array<QString, 3> files;
    std::array<std::optional<QByteArray>, 3> contents;
    for (int k = 0; k < 3; ++k) {
        files[k] = DayFiles::joinPath(m_main.dataFolder(), DataFileNames::month(months[k]));
        contents[k] = MonthGrid::read(files[k]);
    }

    const TjvStringGrid& mainGrid = m_main.scheduleGrid();
    const int columns = mainGrid.ColCount();
    for (int k = 0; k < 3; ++k) {
        MonthYears[k] = quint16(months[k].year());
        MonthNumbers[k] = quint16(months[k].month());
        MonthFiles[k] = files[k];
        MonthLabels[k]->setText(QString::number(months[k].year()) + QStringLiteral("年 ") +
                                QString::number(months[k].month()) + u'月');
        TjvStringGrid& grid = *MonthGrids[k];
        grid.setFont(mainGrid.font());
        grid.setColCount(columns);
        for (int c = 0; c < columns; ++c)
            grid.setColWidths(c, mainGrid.ColWidths(c));
    }
    for (int k = 0; k < 3; ++k) {
        TjvStringGrid& grid = *MonthGrids[k];
        // A file without a day row (empty, or a single line) is shown as the month without file,
        // never as whatever the slot showed before.
        if (!contents[k] || !MonthGrid::loadDays(grid, *contents[k])) {
            FillEmptyMonth(k);
        } else {
            if (grid.ColCount() < 2)
                grid.setColCount(columns);
            copyColumnCaptions(k);
        }
        MonthGrid::keepFixedRowAndColumn(grid);
    }
}

void TSomeMonthViewForm::copyColumnCaptions(int slot)
{
    TjvStringGrid& grid = *MonthGrids[slot];
    const TjvStringGrid& mainGrid = m_main.scheduleGrid();
    grid.setCells(0, 0, QString());
    // Columns the file has beyond the main grid's keep the captions stored in the file.
    for (int c = 1; c < mainGrid.ColCount() && c < grid.ColCount(); ++c)
        grid.setCells(c, 0, mainGrid.Cells(c, 0));
}

void TSomeMonthViewForm::FillEmptyMonth(int slot)
{
    TjvStringGrid& grid = *MonthGrids[slot];
    grid.setColCount(m_main.scheduleGrid().ColCount());
    copyColumnCaptions(slot);
    MonthGrid::fillEmpty(grid, QDate(MonthYears[slot], MonthNumbers[slot], 1));
}

void TSomeMonthViewForm::jvStringGrid1DrawCell(TjvStringGrid& sender, int col, int row, const QRect& rect,
                                               TGridDrawState, QPainter& painter)
{
    if (col < sender.FixedCols() || row < sender.FixedRows())
        return;
    int slot = 0;
    for (int k = 0; k < 3; ++k) {
        if (MonthGrids[k] == &sender)
            slot = k;
    }
    const QString text = sender.Cells(col, row);
    // The main grid's own rule with this slot's month; colours and symbols as the main window
    // holds them now.
    paintMarkedCell(
        painter, rect, text,
        Markup::cellFill(QDate(MonthYears[slot], MonthNumbers[slot], 1), row, text, m_main.cellColours()));
}
