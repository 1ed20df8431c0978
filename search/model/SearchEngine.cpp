#include "search/model/SearchEngine.h"

#include "search/model/SearchPages.h"

#include "controls/model/CommaText.h"
#include "schedule/ConflictCopies.h"
#include "schedule/DataFileNames.h"
#include "schedule/DayFiles.h"
#include "platform/AnsiText.h"
#include "platform/FileBytes.h"
#include "platform/FolderEntries.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <mutex>
#include <thread>
#include <QSet>

namespace {

// A page or month to search: a file of the data folder or a text on screen.
struct Source {
    SearchPage page = SearchPage::ToDo;
    QDate date;       // the day of a page; the month's first day of a month file
    QString path;     // empty for the grid on screen
    QString copyName; // a sync tool's conflict copy of the data file
    bool onScreen = false;
    QString text; // on screen: the page's text
};

// The data folder's names as the main window writes them; anything else is not ours.
bool classifyParsed(const std::optional<DataFileNames::Parsed>& parsed, int annivYear, Source& s)
{
    using DataFileNames::Kind;
    if (!parsed)
        return false;
    s.page = searchPage(parsed->kind);
    if (parsed->kind == Kind::Anniv) {
        s.date = DataFileNames::anniversary(annivYear, parsed->date.month(), parsed->date.day());
        return s.date.isValid();
    }
    s.date = parsed->date;
    return true;
}

template <typename Name> bool classify(Name name, int annivYear, Source& s)
{
    return classifyParsed(DataFileNames::parse(name), annivYear, s);
}

// A data file of the folder, or a sync tool's copy of one, searched as the file it belongs to.
bool classifyInFolder(std::string_view name, int annivYear, Source& s)
{
    if (classify(name, annivYear, s))
        return true;
    const QString decoded = FolderEntries::decoded(name);
    const std::optional<QString> file = ConflictCopies::fileOf(decoded);
    if (!file || !classifyParsed(DataFileNames::parse(QStringView(*file)), annivYear, s))
        return false;
    s.copyName = decoded;
    return true;
}

// The latest day a source may hold, for reading the newest first.
QDate newestDay(const Source& s)
{
    if (!s.date.isValid())
        return QDate(9999, 12, 31);
    if (s.page == SearchPage::Grid)
        return QDate(s.date.year(), s.date.month(), s.date.daysInMonth());
    return s.date;
}

// Page text as the editor holds it: every line break one LF.
QString editorLines(QString text)
{
    if (!text.contains(u'\r'))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

class Searcher {
public:
    Searcher(const SearchRequest& request, const SearchText::Pattern& pattern)
        : m_request(request), m_pattern(pattern)
    {
    }

    void page(const Source& s, const QString& text, qsizetype limit, QList<SearchHit>& out) const
    {
        for (const SearchText::Match& m : m_pattern.findLines(text, limit)) {
            SearchHit hit;
            hit.page = s.page;
            hit.date = s.date;
            hit.start = m.start;
            hit.length = m.length;
            hit.pageName = searchPageName(s.page);
            hit.copyName = s.copyName;
            setContext(hit, text, m);
            out.append(std::move(hit));
        }
    }

    void row(QDate day, const QStringList& cells, qsizetype limit, QList<SearchHit>& out,
             const QString& copyName = {}) const
    {
        const qsizetype columns = std::min(cells.size(), m_request.columnCaptions.size() + 1);
        for (qsizetype c = 1; c < columns && out.size() < limit; ++c) {
            const std::vector<SearchText::Match> found = m_pattern.findLines(cells[c], 1);
            if (found.empty())
                continue;
            SearchHit hit;
            hit.page = SearchPage::Grid;
            hit.date = day;
            hit.column = int(c);
            hit.start = found.front().start;
            hit.length = found.front().length;
            hit.pageName = m_request.columnCaptions.at(c - 1);
            hit.copyName = copyName;
            setContext(hit, cells[c], found.front());
            out.append(std::move(hit));
        }
    }

    void month(const Source& s, const QString& text, qsizetype limit, QList<SearchHit>& out) const
    {
        const QDate month = s.date;
        qsizetype pos = 0;
        for (int r = 0; pos < text.size() && out.size() < limit; ++r) {
            const qsizetype lineEnd = text.indexOf(u'\n', pos);
            const QStringView line = QStringView(text).mid(pos, (lineEnd < 0 ? text.size() : lineEnd) - pos);
            pos = lineEnd < 0 ? text.size() : lineEnd + 1;
            const QDate day(month.year(), month.month(), r);
            // Rows that are no day of the month are never shown; skip them unparsed.
            if (r == 0 || !day.isValid())
                continue;
            // A quick look before the fields are split: most rows hold no match.
            if (m_pattern.findLines(line, 1).empty())
                continue;
            row(day, CommaText::decode(line), limit, out, s.copyName);
        }
    }

private:
    static void setContext(SearchHit& hit, QStringView text, const SearchText::Match& m)
    {
        SearchText::Context c = SearchText::contextOf(text, m);
        hit.context = std::move(c.text);
        hit.contextStart = c.start;
        hit.contextLength = c.length;
    }

    const SearchRequest& m_request;
    const SearchText::Pattern& m_pattern;
};

} // namespace

SearchEngine::SearchEngine(QObject* parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(2); // a cancelled search may still be finishing its file
}

SearchEngine::~SearchEngine()
{
    cancel();
    m_pool.waitForDone();
}

void SearchEngine::cancel()
{
    if (m_current)
        m_current->cancelled = true;
    m_current.reset();
}

void SearchEngine::start(SearchRequest request)
{
    cancel();
    auto run = std::make_shared<Run>();
    m_current = run;
    m_pool.start([this, run, request = std::move(request)] {
        const auto live = [this, run] { return m_current == run && !run->cancelled; };
        const Outcome outcome =
            SearchEngine::run(request, run->cancelled, [this, run, live](QList<SearchHit> hits) {
                QMetaObject::invokeMethod(
                    this,
                    [this, live, hits = std::move(hits)] {
                        if (live())
                            Q_EMIT hitsFound(hits);
                    },
                    Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this,
            [this, live, outcome] {
                if (!live())
                    return;
                m_current.reset();
                Q_EMIT finished(outcome);
            },
            Qt::QueuedConnection);
    });
}

SearchEngine::Outcome SearchEngine::run(const SearchRequest& request, const std::atomic_bool& cancelled,
                                        const std::function<void(QList<SearchHit>)>& deliver, int threads)
{
    Outcome outcome;
    const SearchText::Pattern pattern(request.query, request.options);
    if (pattern.isEmpty())
        return outcome;

    // The texts on screen first: they are the current ones and replace their files.
    std::vector<Source> sources;
    QSet<QString> onScreen;
    for (const auto& [path, text] : request.pageTexts) {
        Source s;
        if (!classify(QStringView(path).mid(path.lastIndexOf(u'/') + 1), request.annivYear, s))
            continue;
        s.path = path;
        s.onScreen = true;
        s.text = editorLines(text);
        onScreen.insert(path);
        sources.push_back(std::move(s));
    }
    if (!request.gridPath.isEmpty()) {
        Source s;
        const QStringView name = QStringView(request.gridPath).mid(request.gridPath.lastIndexOf(u'/') + 1);
        if (classify(name, request.annivYear, s) && s.page == SearchPage::Grid) {
            s.onScreen = true;
            onScreen.insert(request.gridPath);
            sources.push_back(std::move(s));
        }
    }
    const size_t screenCount = sources.size();

    const bool listed = FolderEntries::visit(request.folder, [&](std::string_view name, FolderEntries::Kind) {
        Source s;
        if (!classifyInFolder(name, request.annivYear, s))
            return;
        s.path = DayFiles::joinPath(request.folder, FolderEntries::decoded(name));
        if (!onScreen.contains(s.path))
            sources.push_back(std::move(s));
    });
    if (!listed)
        outcome.folderUnreadable = true;
    std::stable_sort(sources.begin() + qsizetype(screenCount), sources.end(),
                     [](const Source& a, const Source& b) { return newestDay(a) > newestDay(b); });

    const Searcher searcher(request, pattern);
    std::atomic<size_t> next{0};
    std::atomic<qsizetype> found{0};
    std::atomic_int unreadable{0};
    std::atomic_bool full{false};
    std::mutex lock;
    QList<SearchHit> pending;
    QElapsedTimer sinceDelivery;
    sinceDelivery.start();
    bool delivered = false;

    const auto work = [&] {
        QByteArray bytes;
        QList<SearchHit> hits;
        for (size_t i; !cancelled && !full && (i = next++) < sources.size();) {
            const Source& s = sources[i];
            const qsizetype limit = request.maxHits - found;
            hits.clear();
            if (s.page == SearchPage::Grid && s.onScreen) {
                for (qsizetype r = 1; r < request.gridRows.size() && hits.size() < limit; ++r) {
                    const QDate day(s.date.year(), s.date.month(), int(r));
                    if (day.isValid())
                        searcher.row(day, request.gridRows[r], limit, hits);
                }
            } else if (s.onScreen) {
                searcher.page(s, s.text, limit, hits);
            } else if (!FileBytes::read(QFile::encodeName(s.path), bytes,
                                        s.page == SearchPage::Grid ? DayFiles::kMonthSizeLimit
                                                                   : DayFiles::kPageSizeLimit)) {
                ++unreadable;
                continue;
            } else if (s.page == SearchPage::Grid) {
                searcher.month(s, editorLines(AnsiText::decode(AnsiText::untilNul(bytes))), limit, hits);
            } else {
                searcher.page(s, editorLines(AnsiText::decode(bytes)), limit, hits);
            }
            if (hits.isEmpty())
                continue;
            const std::lock_guard guard(lock);
            if (found + hits.size() >= request.maxHits) {
                hits.resize(std::max<qsizetype>(0, request.maxHits - found));
                full = true;
            }
            found += hits.size();
            pending.append(hits);
            // The first hits go out at once, later ones a few times a second.
            if (!delivered || sinceDelivery.elapsed() >= 50) {
                delivered = true;
                sinceDelivery.restart();
                deliver(std::exchange(pending, {}));
            }
        }
    };

    const int workers = threads > 0 ? threads : std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
    std::vector<std::thread> helpers;
    for (int t = 1; t < workers; ++t)
        helpers.emplace_back(work);
    work();
    for (std::thread& t : helpers)
        t.join();
    if (!pending.isEmpty() && !cancelled)
        deliver(std::move(pending));
    outcome.unreadable = unreadable;
    outcome.truncated = full;
    outcome.hits = found;
    return outcome;
}
