#pragma once

#include "search/model/SearchEngine.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QTimer;
class QTreeView;
class SearchResults;

// The non-modal 検索 window: a query, two options and the hits, newest first. Results come while
// the user types; Enter or a double click goes to the selected hit.
class SearchWindow final : public QWidget {
    Q_OBJECT
public:
    explicit SearchWindow(QWidget* parent = nullptr);
    ~SearchWindow() override;
    Q_DISABLE_COPY_MOVE(SearchWindow)

    // Fills what to search beside the query and options: the folder and the texts on screen.
    std::function<SearchRequest()> OnPrepare;
    // Shows the hit in the main window.
    std::function<void(const SearchHit&)> OnGoTo;

    QLineEdit* Query = nullptr;
    QCheckBox* CaseSensitive = nullptr;
    QCheckBox* KanaSensitive = nullptr;
    QTreeView* Results = nullptr;
    QLabel* Status = nullptr;

    SearchResults& results() const { return *m_results; }
    // Searches for the query now, whatever its length.
    void startSearch();
    bool isSearching() const { return m_engine.isRunning(); }
    void goToSelected();

Q_SIGNALS:
    void searchFinished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void queryEdited();
    void hitsFound(const QList<SearchHit>& hits);
    void finished(const SearchEngine::Outcome& outcome);
    void moveSelection(int key);
    void showCount(const QString& tail);

    SearchEngine m_engine;
    SearchResults* m_results = nullptr;
    QTimer* m_pause = nullptr;
    bool m_userMoved = false; // the user chose a hit: new results leave the selection alone
};
