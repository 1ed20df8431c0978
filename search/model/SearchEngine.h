#pragma once

#include "search/model/SearchHit.h"

#include <QObject>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <memory>

// Searches the data folder off the user-interface thread; a new search cancels the one before.
// Results arrive in batches on the thread that owns the engine.
class SearchEngine final : public QObject {
    Q_OBJECT
public:
    explicit SearchEngine(QObject* parent = nullptr);
    ~SearchEngine() override; // cancels and waits for the workers
    Q_DISABLE_COPY_MOVE(SearchEngine)

    void start(SearchRequest request);
    void cancel();
    bool isRunning() const { return m_current != nullptr; }

    struct Outcome {
        int unreadable = 0;     // files that could not be read, skipped
        bool truncated = false; // stopped at the request's hit limit
        bool folderUnreadable = false;
        qsizetype hits = 0;
    };
    // One whole search on the calling thread and `threads` workers (0: one per core). `deliver`
    // is called from the workers, one call at a time, with hits in no particular order.
    static Outcome run(const SearchRequest& request, const std::atomic_bool& cancelled,
                       const std::function<void(QList<SearchHit>)>& deliver, int threads = 0);

Q_SIGNALS:
    void hitsFound(const QList<SearchHit>& hits);
    void finished(const SearchEngine::Outcome& outcome);

private:
    struct Run {
        std::atomic_bool cancelled{false};
    };
    QThreadPool m_pool;
    std::shared_ptr<Run> m_current;
};
