#pragma once

#include "schedule/FileTextBaseline.h"
#include "schedule/PageFile.h"

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class QTextDocument;
class QThread;

// One page's outcome of a fill.
struct FilledPage {
    int page = -1;
    QString path;
    PageFile::Loaded loaded;                 // without its texts: the document holds the text
    FileTextBaseline baseline;               // Known with the file's text when it was read
    std::unique_ptr<QTextDocument> document; // when read; lives in the window's thread
    FilledPage();
    ~FilledPage();
    FilledPage(FilledPage&&) noexcept;
    FilledPage& operator=(FilledPage&&) noexcept;
};

// Reads large page files and builds their text documents on a worker thread, one page after
// another, so the window shows and answers while they fill. Each page's outcome is handed over
// in the window's thread, in the order the pages were started.
class PageFiller final : public QObject {
    Q_OBJECT

public:
    using Filled = FilledPage;
    using Delivery = std::function<void(Filled&)>;

    explicit PageFiller(Delivery deliver, QObject* parent = nullptr);
    // Stops the fill running and waits for the worker; nothing is delivered any more.
    ~PageFiller() override;
    Q_DISABLE_COPY_MOVE(PageFiller)

    // Starts filling the page from the file; a fill of the page already started is dropped.
    void start(int page, const QString& path);
    // Drops the page's fill: nothing of it is delivered.
    void cancel(int page);
    // The page's fill was started and neither delivered nor dropped yet.
    bool filling(int page) const { return m_started.contains(page); }
    bool filling() const { return !m_started.isEmpty(); }
    // Waits for the page's fill and delivers it before returning.
    void finish(int page);

private:
    struct Job;
    struct Ready;
    void runJobs();
    static void fill(Job& job, Filled& filled);
    void deliver(int page, quint64 serial);

    Delivery m_deliver;
    QThread* m_windowThread;
    QHash<int, quint64> m_serial; // page -> fills started, in the window's thread only
    QSet<int> m_started;          // in the window's thread only
    mutable std::mutex m_mutex;   // guards what follows
    std::condition_variable m_changed;
    std::deque<std::shared_ptr<Job>> m_queue;
    std::shared_ptr<Job> m_running;
    QHash<int, std::shared_ptr<Ready>> m_ready; // page -> filled, on its way to the window
    bool m_stopping = false;
    std::thread m_worker;
};
