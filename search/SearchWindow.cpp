#include "search/SearchWindow.h"

#include "search/SearchResults.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

namespace {
// Short queries match nearly everything: they wait for a pause in typing.
constexpr int kInstantLength = 3;
constexpr int kPauseMs = 300;
} // namespace

SearchWindow::SearchWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("SearchWindow"));
    setWindowTitle(QStringLiteral("検索"));
    resize(600, 400);

    auto* label = new QLabel(QStringLiteral("検索する文字列(&N):"));
    Query = new QLineEdit;
    Query->setObjectName(QStringLiteral("Query"));
    Query->setClearButtonEnabled(true);
    label->setBuddy(Query);
    CaseSensitive = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"));
    CaseSensitive->setObjectName(QStringLiteral("CaseSensitive"));
    KanaSensitive = new QCheckBox(QStringLiteral("ひらがなとカタカナを区別する(&K)"));
    KanaSensitive->setObjectName(QStringLiteral("KanaSensitive"));

    m_results = new SearchResults(this);
    Results = new QTreeView;
    Results->setObjectName(QStringLiteral("Results"));
    Results->setModel(m_results);
    Results->setRootIsDecorated(false);
    Results->setUniformRowHeights(true);
    Results->setAllColumnsShowFocus(true);
    Results->setSelectionMode(QAbstractItemView::SingleSelection);
    Results->setSelectionBehavior(QAbstractItemView::SelectRows);
    Results->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Results->setItemDelegateForColumn(2, new MatchDelegate(Results));
    Results->header()->setStretchLastSection(true);
    Results->header()->resizeSection(0, 130);
    Results->header()->resizeSection(1, 70);
    Status = new QLabel;
    Status->setObjectName(QStringLiteral("Status"));

    auto* queryRow = new QHBoxLayout;
    queryRow->addWidget(label);
    queryRow->addWidget(Query, 1);
    auto* options = new QHBoxLayout;
    options->addWidget(CaseSensitive);
    options->addWidget(KanaSensitive);
    options->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(queryRow);
    layout->addLayout(options);
    layout->addWidget(Results, 1);
    layout->addWidget(Status);

    m_pause = new QTimer(this);
    m_pause->setSingleShot(true);
    m_pause->setInterval(kPauseMs);
    connect(m_pause, &QTimer::timeout, this, &SearchWindow::startSearch);
    connect(Query, &QLineEdit::textEdited, this, &SearchWindow::queryEdited);
    connect(Query, &QLineEdit::returnPressed, this, &SearchWindow::goToSelected);
    connect(CaseSensitive, &QCheckBox::toggled, this, &SearchWindow::startSearch);
    connect(KanaSensitive, &QCheckBox::toggled, this, &SearchWindow::startSearch);
    connect(Results, &QTreeView::doubleClicked, this, &SearchWindow::goToSelected);
    connect(Results, &QTreeView::pressed, this, [this] { m_userMoved = true; });
    connect(&m_engine, &SearchEngine::hitsFound, this, &SearchWindow::hitsFound);
    connect(&m_engine, &SearchEngine::finished, this, &SearchWindow::finished);
    Query->installEventFilter(this);
    Results->installEventFilter(this);
}

SearchWindow::~SearchWindow() = default;

void SearchWindow::queryEdited()
{
    m_engine.cancel();
    m_pause->stop();
    if (Query->text().isEmpty()) {
        m_results->clear();
        Status->clear();
        return;
    }
    if (Query->text().size() >= kInstantLength)
        startSearch();
    else
        m_pause->start();
}

void SearchWindow::startSearch()
{
    m_pause->stop();
    m_engine.cancel();
    m_results->clear();
    m_userMoved = false;
    if (Query->text().isEmpty()) {
        Status->clear();
        return;
    }
    SearchRequest request = OnPrepare ? OnPrepare() : SearchRequest();
    request.query = Query->text();
    request.options.caseSensitive = CaseSensitive->isChecked();
    request.options.kanaSensitive = KanaSensitive->isChecked();
    Status->setText(QStringLiteral("検索中..."));
    m_engine.start(std::move(request));
}

void SearchWindow::hitsFound(const QList<SearchHit>& hits)
{
    m_results->add(hits);
    if (!m_userMoved && m_results->rowCount() > 0)
        Results->setCurrentIndex(m_results->index(0, 0));
    showCount(QStringLiteral(" 検索中..."));
}

void SearchWindow::finished(const SearchEngine::Outcome& outcome)
{
    QString tail;
    if (outcome.truncated)
        tail += QStringLiteral("（%1件で打ち切りました）").arg(outcome.hits);
    if (outcome.folderUnreadable)
        tail += QStringLiteral("　データフォルダを読めません");
    if (outcome.unreadable > 0)
        tail += QStringLiteral("　読めないファイル %1件").arg(outcome.unreadable);
    showCount(tail);
    Q_EMIT searchFinished();
}

void SearchWindow::showCount(const QString& tail)
{
    const int count = m_results->rowCount();
    Status->setText((count > 0 ? QStringLiteral("%1件").arg(count) : QStringLiteral("見つかりません")) +
                    tail);
}

void SearchWindow::moveSelection(int key)
{
    const int count = m_results->rowCount();
    if (count == 0)
        return;
    const int current = Results->currentIndex().isValid() ? Results->currentIndex().row() : -1;
    const int page = std::max(1, Results->viewport()->height() / std::max(1, Results->sizeHintForRow(0)) - 1);
    int row = current;
    switch (key) {
    case Qt::Key_Up:
        row = current - 1;
        break;
    case Qt::Key_Down:
        row = current + 1;
        break;
    case Qt::Key_PageUp:
        row = current - page;
        break;
    default:
        row = current + page;
        break;
    }
    row = std::clamp(row, 0, count - 1);
    m_userMoved = true;
    Results->setCurrentIndex(m_results->index(row, 0));
    Results->scrollTo(m_results->index(row, 0));
}

void SearchWindow::goToSelected()
{
    const QModelIndex current = Results->currentIndex();
    if (!current.isValid() || !OnGoTo)
        return;
    // A copy: going there may start a date change that refreshes the results.
    SearchHit hit = m_results->hit(current.row());
    // The page shows the file, not the copy: no place in it answers to the copy's match.
    if (!hit.copyName.isEmpty())
        hit.start = hit.length = 0;
    OnGoTo(hit);
}

bool SearchWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (watched == Query && (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down ||
                                 key->key() == Qt::Key_PageUp || key->key() == Qt::Key_PageDown)) {
            moveSelection(key->key());
            return true;
        }
        if (watched == Results)
            m_userMoved = true;
        if (watched == Results && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            goToSelected();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SearchWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SearchWindow::closeEvent(QCloseEvent* event)
{
    m_engine.cancel();
    QWidget::closeEvent(event);
}
