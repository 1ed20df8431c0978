// The window's controls, menus and tool bars.
#include "mainwindow/schedule.h"

#include "controls/ResourceIcon.h"
#include "controls/FilledLabel.h"
#include "controls/jvStringGrid.h"
#include "mainwindow/FontConvert.h"
#include "mainwindow/MenuAction.h"
#include "mainwindow/ChangedElsewhereBar.h"
#include "mainwindow/MonthCalendar.h"
#include "schedule/MainSettings.h"
#include "settings/RegMng.h"
#include "settings/widgets/ComponentImage.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QLayout>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QToolBar* makeToolBar(const QString& name, QWidget* parent)
{
    auto* bar = new QToolBar(parent);
    bar->setObjectName(name);
    bar->setFixedHeight(30);
    bar->setIconSize(QSize(16, 16));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    // Tight, so the grid's bar holds its buttons, the month label and the view button in 257 pixels.
    bar->layout()->setSpacing(0);
    bar->layout()->setContentsMargins(0, 0, 0, 0);
    return bar;
}

QPlainTextEdit* makeMemo(const QString& name)
{
    auto* memo = new QPlainTextEdit;
    memo->setObjectName(name);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(false);
    return memo;
}

} // namespace

void TMainForm::buildLayout()
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("QuavScheduler"));
    setWindowIcon(resourceIcon(QStringLiteral(":/icons/app32.png")));
    QFont windowFont(QStringLiteral("ＭＳ Ｐゴシック"));
    windowFont.setPixelSize(12);
    setFont(windowFont);
    resize(617, 461);

    RegManager1 = new TRegManager(*m_env.messages, this);
    RegManager1->setObjectName(QStringLiteral("RegManager1"));
    RegManager1->SetRegType(TRegType::rtIni);
    RegManager1->SetComponentImages(&TWidgetComponentImages::Instance());
    const auto addItem = [this](const QString& name, const QString& ident) {
        TRegItem* item = RegManager1->RegItems().Add();
        item->SetName(name);
        item->SetSection(name);
        item->SetIdent(ident);
    };
    addItem(SettingsKeys::kMemoFontItem, SettingsKeys::kMemoFontPrefix);
    addItem(SettingsKeys::kColumnsItem, SettingsKeys::kColumnsPrefix);

    // Left half: the grid's tool bar over the month grid.
    Panel2 = new QWidget;
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* left = new QVBoxLayout(Panel2);
    left->setContentsMargins(0, 0, 0, 0);
    left->setSpacing(0);
    ToolBar1 = makeToolBar(QStringLiteral("ToolBar1"), Panel2);
    lblThisMonth = new FilledLabel(QColor(166, 202, 240));
    lblThisMonth->setObjectName(QStringLiteral("lblThisMonth"));
    lblThisMonth->setAlignment(Qt::AlignCenter);
    lblThisMonth->setFixedHeight(22);
    lblThisMonth->setContentsMargins(4, 0, 4, 0);
    QFont labelFont(QStringLiteral("ＭＳ Ｐゴシック"));
    labelFont.setPixelSize(16);
    lblThisMonth->setFont(labelFont);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(lblThisMonth);
    ToolBar1->addSeparator();
    left->addWidget(ToolBar1);

    jvStringGrid1 = new TjvStringGrid;
    jvStringGrid1->setObjectName(QStringLiteral("jvStringGrid1"));
    jvStringGrid1->setColCount(4);
    jvStringGrid1->setFixedCols(1);
    jvStringGrid1->setFixedRows(1);
    jvStringGrid1->setDefaultColWidth(50);
    jvStringGrid1->setDefaultRowHeight(16);
    jvStringGrid1->setOptions(TjvStringGrid::goFixedVertLine | TjvStringGrid::goFixedHorzLine |
                              TjvStringGrid::goVertLine | TjvStringGrid::goHorzLine |
                              TjvStringGrid::goColSizing | TjvStringGrid::goEditing);
    jvStringGrid1->OnDrawCell = [this](TjvStringGrid&, int col, int row, const QRect& rect, TGridDrawState,
                                       QPainter& painter) { jvStringGrid1DrawCell(col, row, rect, painter); };
    jvStringGrid1->OnSelectCell = [this](TjvStringGrid&, int, int row, bool& canSelect) {
        jvStringGrid1SelectCell(row);
        canSelect = true;
    };
    // Failures are reported here, at the edge of our code: they must not unwind through Qt.
    jvStringGrid1->OnClick = [this](TjvStringGrid&) { runCommand(&TMainForm::jvStringGrid1Click); };
    m_monthBar = new ChangedElsewhereBar(QStringLiteral("MonthChangedBar"));
    left->addWidget(m_monthBar);
    left->addWidget(jvStringGrid1, 1);

    // Right half: Today button, calendar, then the memo pages under their tool bar.
    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* right = new QVBoxLayout(Panel1);
    right->setContentsMargins(0, 0, 0, 0);
    right->setSpacing(0);
    ToolBar2 = makeToolBar(QStringLiteral("ToolBar2"), Panel1);
    right->addWidget(ToolBar2);

    MonthCal = new MonthCalendar;
    MonthCal->OnGetMonthInfo = [this](int year, int month) { MonthCalGetMonthInfo(year, month); };
    connect(MonthCal, &MonthCalendar::dateChosen, this, [this] { runCommand(&TMainForm::MonthCalClick); });

    auto* pages = new QWidget;
    auto* pagesLayout = new QVBoxLayout(pages);
    pagesLayout->setContentsMargins(0, 0, 0, 0);
    pagesLayout->setSpacing(0);
    ToolBar3 = makeToolBar(QStringLiteral("ToolBar3"), pages);
    pagesLayout->addWidget(ToolBar3);
    m_pageBar = new ChangedElsewhereBar(QStringLiteral("PageChangedBar"));
    pagesLayout->addWidget(m_pageBar);
    Page1 = new QTabWidget;
    Page1->setObjectName(QStringLiteral("Page1"));
    Page1->setDocumentMode(true);
    Page1->setMinimumHeight(30);
    for (const Pages::Page& page : Pages::all()) {
        QPlainTextEdit* memo = makeMemo(page.editorName.toString());
        m_pages[size_t(page.tab)].editor = memo;
        Page1->addTab(memo, page.caption.toString());
    }
    pagesLayout->addWidget(Page1, 1);
    connect(Page1, &QTabWidget::currentChanged, this, &TMainForm::pageShown);

    Splitter2 = new QSplitter(Qt::Vertical);
    Splitter2->setObjectName(QStringLiteral("Splitter2"));
    Splitter2->setHandleWidth(5);
    Splitter2->setChildrenCollapsible(false);
    Splitter2->addWidget(MonthCal);
    Splitter2->addWidget(pages);
    Splitter2->setStretchFactor(1, 1);
    right->addWidget(Splitter2, 1);

    Splitter1 = new QSplitter(Qt::Horizontal);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(5);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(Panel2);
    Splitter1->addWidget(Panel1);
    Splitter1->setStretchFactor(1, 1);
    setCentralWidget(Splitter1);

    StatusPanel = new QLabel;
    StatusPanel->setObjectName(QStringLiteral("StatusPanel"));
    statusBar()->setObjectName(QStringLiteral("StatusBar"));
    statusBar()->setFixedHeight(19);
    statusBar()->setSizeGripEnabled(true);
    statusBar()->addWidget(StatusPanel, 1);

    buildMenus();
}

void TMainForm::buildMenus()
{
    File1 = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
    File1->setObjectName(QStringLiteral("File1"));
    Exit1 =
        makeAction(QStringLiteral("Exit1"), QStringLiteral("終了(&X)"), QStringLiteral("終了します。"), this);
    connect(Exit1, &QAction::triggered, this, &TMainForm::Exit1Click);
    File1->addAction(Exit1);

    // 予定(&S): the commands on the grid's current cell.
    Sch1 = menuBar()->addMenu(QStringLiteral("予定(&S)"));
    Sch1->setObjectName(QStringLiteral("Sch1"));
    SchCut1 = makeAction(QStringLiteral("SchCut1"), QStringLiteral("切り取り(&T)"),
                         QStringLiteral("選択されている予定を切り取ってクリップボードに移動します。"), this);
    SchCopy1 = makeAction(QStringLiteral("SchCopy1"), QStringLiteral("コピー(&C)"),
                          QStringLiteral("選択されている予定をクリップボードにコピーします。"), this);
    SchPaste1 = makeAction(QStringLiteral("SchPaste1"), QStringLiteral("貼り付け(&P)"),
                           QStringLiteral("クリップボードの内容を貼り付けます。"), this);
    SchDelete1 = makeAction(QStringLiteral("SchDelete1"), QStringLiteral("削除(&D)"),
                            QStringLiteral("選択されている予定を削除します。"), this);
    Sch1->addActions({SchCut1, SchCopy1, SchPaste1, SchDelete1});
    Sch1->addSeparator(); // the column caption entry goes below

    // 編集(&E): the commands on the memo of the page shown.
    Edit1 = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Undo1 = makeAction(QStringLiteral("Undo1"), QStringLiteral("元に戻す(&U)"),
                       QStringLiteral("直前に行った操作を取り消します。"), this);
    Cut1 = makeAction(QStringLiteral("Cut1"), QStringLiteral("切り取り(&T)"),
                      QStringLiteral("選択範囲を切り取ってクリップボードに移動します。"), this);
    Copy1 = makeAction(QStringLiteral("Copy1"), QStringLiteral("コピー(&C)"),
                       QStringLiteral("選択範囲をクリップボードにコピーします。"), this);
    Paste1 = makeAction(QStringLiteral("Paste1"), QStringLiteral("貼り付け(&P)"),
                        QStringLiteral("クリップボードの内容を挿入します。"), this);
    Delete1 = makeAction(QStringLiteral("Delete1"), QStringLiteral("削除(&L)"),
                         QStringLiteral("選択範囲を削除します。"), this);
    SelectAll1 = makeAction(QStringLiteral("SelectAll1"), QStringLiteral("すべて選択(&A)"),
                            QStringLiteral("文書全体を選択します。"), this);
    DateTime1 = makeAction(QStringLiteral("DateTime1"), QStringLiteral("日付と時刻(&D)"),
                           QStringLiteral("今日の日付と現在の時刻を挿入します。"), this);
    Exec1 = makeAction(QStringLiteral("Exec1"), QStringLiteral("外部エディタで編集(&E)..."),
                       QStringLiteral("設定されているエディタで編集します。"), this);
    connect(Exec1, &QAction::triggered, this, &TMainForm::Exec1Click);
    Edit1->addAction(Exec1);
    Edit1->addSeparator();
    Edit1->addAction(Undo1);
    Edit1->addSeparator();
    Edit1->addActions({Cut1, Copy1, Paste1, Delete1});
    Edit1->addSeparator();
    Edit1->addActions({SelectAll1, DateTime1});

    Show1 = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    Show1->setObjectName(QStringLiteral("Show1"));
    Today1 = makeAction(QStringLiteral("Today1"), QStringLiteral("今日へ移動(&G)"),
                        QStringLiteral("カレンダの選択を今日へ移動します。"), this);
    connect(Today1, &QAction::triggered, this, [this] { runCommand(&TMainForm::Today1Click); });
    Show1->addAction(Today1);
    addMonthViewCommands();

    Today3 = makeAction(QStringLiteral("Today3"), QString(), QStringLiteral("今日へ移動"), this);
    Today3->setIcon(resourceIcon(QStringLiteral(":/icons/today.png")));
    connect(Today3, &QAction::triggered, this, [this] { runCommand(&TMainForm::Today1Click); });
    ToolBar2->addAction(Today3);

    // The grid's context menu.
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Cut2 = makeAction(QStringLiteral("Cut2"), QStringLiteral("切り取り(&T)"), QString(), this);
    Copy2 = makeAction(QStringLiteral("Copy2"), QStringLiteral("コピー(&C)"), QString(), this);
    Paste2 = makeAction(QStringLiteral("Paste2"), QStringLiteral("貼り付け(&P)"), QString(), this);
    Delete2 = makeAction(QStringLiteral("Delete2"), QStringLiteral("削除(&L)"), QString(), this);
    PopupMenu1->addActions({Cut2, Copy2, Paste2, Delete2});
    jvStringGrid1->setPopupMenu(PopupMenu1);

    // Clipboard buttons: the schedule's before the month label, the memo's above the pages.
    const auto toolButton = [this](const QString& name, const QString& hint, const QString& icon) {
        QAction* action = makeAction(name, QString(), hint, this);
        action->setIcon(resourceIcon(icon));
        return action;
    };
    SchCut3 =
        toolButton(QStringLiteral("SchCut3"), QStringLiteral("切り取り"), QStringLiteral(":/icons/cut.png"));
    SchCopy3 =
        toolButton(QStringLiteral("SchCopy3"), QStringLiteral("コピー"), QStringLiteral(":/icons/copy.png"));
    SchPaste3 = toolButton(QStringLiteral("SchPaste3"), QStringLiteral("貼り付け"),
                           QStringLiteral(":/icons/paste.png"));
    ToolBar1->insertActions(ToolBar1->actions().value(0), {SchCut3, SchCopy3, SchPaste3});
    Cut3 = toolButton(QStringLiteral("Cut3"), QStringLiteral("切り取り"), QStringLiteral(":/icons/cut.png"));
    Copy3 = toolButton(QStringLiteral("Copy3"), QStringLiteral("コピー"), QStringLiteral(":/icons/copy.png"));
    Paste3 =
        toolButton(QStringLiteral("Paste3"), QStringLiteral("貼り付け"), QStringLiteral(":/icons/paste.png"));
    ToolBar3->addActions({Cut3, Copy3, Paste3});
    Exec3 = toolButton(QStringLiteral("Exec3"), QStringLiteral("外部エディタ"),
                       QStringLiteral(":/icons/exec.png"));
    connect(Exec3, &QAction::triggered, this, &TMainForm::Exec1Click);
    ToolBar3->addSeparator();
    ToolBar3->addAction(Exec3);

    buildOptionMenus();
    buildPrintCommands();
    buildConflictCopies();
    connectEditingCommands();
    buildSearch();
    buildHolidays();
    addHelpMenu(); // last in the menu bar
}

QPlainTextEdit* TMainForm::pageEditor(int index) const
{
    return index >= 0 && index < Pages::kCount ? m_pages[size_t(index)].editor : nullptr;
}

void TMainForm::applyMemoFont()
{
    const QFont font = FontConvert::toQFont(MemoFont);
    const QColor color = FontConvert::toQColor(quint32(MemoFont.Color));
    for (const Page& page : m_pages) {
        QPlainTextEdit* memo = page.editor;
        memo->setFont(font);
        memo->setTabStopDistance(QFontMetricsF(font).horizontalAdvance(u' ') * 8);
        QPalette palette = memo->palette();
        palette.setColor(QPalette::Text, color.isValid() ? color : QPalette().color(QPalette::Text));
        memo->setPalette(palette);
    }
}
