#include "mainwindow/PageFiller.h"

#include "mainwindow/PageEditorText.h"

#include <QTextDocument>
#include <QThread>

#include <atomic>

struct PageFiller::Job {
    int page = -1;
    QString path;
    quint64 serial = 0;
    std::atomic<bool> cancelled = false;
};

struct PageFiller::Ready {
    quint64 serial = 0;
    Filled filled;
};

FilledPage::FilledPage() = default;
FilledPage::~FilledPage() = default;
FilledPage::FilledPage(FilledPage&&) noexcept = default;
FilledPage& FilledPage::operator=(FilledPage&&) noexcept = default;

PageFiller::PageFiller(Delivery deliver, QObject* parent)
    : QObject(parent), m_deliver(std::move(deliver)), m_windowThread(QThread::currentThread())
{
}

PageFiller::~PageFiller()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_queue.clear();
        if (m_running)
            m_running->cancelled = true;
    }
    m_changed.notify_all();
    if (m_worker.joinable())
        m_worker.join();
}

void PageFiller::start(int page, const QString& path)
{
    cancel(page);
    auto job = std::make_shared<Job>();
    job->page = page;
    job->path = path;
    job->serial = ++m_serial[page];
    m_started.insert(page);
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(job);
        if (!m_worker.joinable())
            m_worker = std::thread([this] { runJobs(); });
    }
    m_changed.notify_all();
}

void PageFiller::cancel(int page)
{
    if (!m_started.remove(page))
        return;
    ++m_serial[page];
    std::shared_ptr<Ready> dropped;
    const std::lock_guard lock(m_mutex);
    std::erase_if(m_queue, [&](const std::shared_ptr<Job>& job) { return job->page == page; });
    if (m_running && m_running->page == page)
        m_running->cancelled = true;
    dropped = m_ready.take(page); // its document goes here, in the window's thread
}

void PageFiller::finish(int page)
{
    if (!filling(page))
        return;
    const quint64 serial = m_serial.value(page);
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [&] {
            const auto ready = m_ready.constFind(page);
            return ready != m_ready.cend() && (*ready)->serial == serial;
        });
    }
    deliver(page, serial);
}

void PageFiller::runJobs()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_changed.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_stopping)
            return;
        const std::shared_ptr<Job> job = m_queue.front();
        m_queue.pop_front();
        m_running = job;
        lock.unlock();
        auto ready = std::make_shared<Ready>();
        ready->serial = job->serial;
        try {
            fill(*job, ready->filled);
        } catch (const std::exception&) {
            // No room for the text: the page stays empty and its file is left alone.
            ready->filled.document.reset();
            ready->filled.loaded = PageFile::Loaded();
            ready->filled.loaded.state = PageFile::Loaded::State::Unreadable;
        }
        lock.lock();
        m_running.reset();
        if (job->cancelled) {
            // Deleted here, in the thread its document still belongs to.
            lock.unlock();
            ready.reset();
            lock.lock();
            continue;
        }
        if (ready->filled.document)
            ready->filled.document->moveToThread(m_windowThread);
        m_ready.insert(job->page, ready);
        m_changed.notify_all();
        QMetaObject::invokeMethod(
            this, [this, page = job->page, serial = job->serial] { deliver(page, serial); },
            Qt::QueuedConnection);
    }
}

void PageFiller::fill(Job& job, Filled& filled)
{
    filled.page = job.page;
    filled.path = job.path;
    filled.loaded = PageFile::load(job.path);
    if (filled.loaded.state != PageFile::Loaded::State::Read || job.cancelled)
        return;
    // Only a digest of the file's text is kept; the document holds the editor's text.
    filled.baseline.setKnown(std::move(filled.loaded.text));
    filled.loaded.text = QString();
    auto document = std::make_unique<QTextDocument>();
    const QString editorText = std::move(filled.loaded.editorText);
    filled.loaded.editorText = QString();
    if (PageEditorText::fill(document.get(), editorText, [&] { return !job.cancelled; }))
        filled.document = std::move(document);
}

void PageFiller::deliver(int page, quint64 serial)
{
    if (!m_started.contains(page) || m_serial.value(page) != serial)
        return;
    std::shared_ptr<Ready> ready;
    {
        const std::lock_guard lock(m_mutex);
        const auto found = m_ready.find(page);
        if (found == m_ready.end() || (*found)->serial != serial)
            return;
        ready = *found;
        m_ready.erase(found);
    }
    m_started.remove(page);
    m_deliver(ready->filled);
}
