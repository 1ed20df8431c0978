// The search of every note against `grep -rF` over the same folder, in the same run, with a warm
// file cache. The folder is the 30-year one of make_data_folder.py (about 11,000 page files and
// 360 month files), made once in a temporary folder; QUAV_SEARCH_DATA names another instead.
#include "platform/AnsiText.h"
#include "search/model/SearchEngine.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kNeedle = u"ひみつの合言葉"_s; // in five diaries of the generated folder

struct Folder {
    std::unique_ptr<QTemporaryDir> temp;
    QString path;
    QString needleFile; // the needle in code page 932, for grep -f
};

const Folder& folder()
{
    static const Folder f = [] {
        Folder made;
        made.temp = std::make_unique<QTemporaryDir>();
        const QByteArray given = qgetenv("QUAV_SEARCH_DATA");
        if (!given.isEmpty()) {
            made.path = QString::fromLocal8Bit(given);
        } else {
            made.path = made.temp->filePath(u"data"_s);
            const int status =
                QProcess::execute(u"/usr/bin/python3"_s, {QStringLiteral(QUAV_MAKE_DATA_FOLDER), made.path});
            if (status != 0) {
                std::fprintf(stderr, "make_data_folder.py failed\n");
                std::exit(1);
            }
        }
        made.needleFile = made.temp->filePath(u"needle"_s);
        AnsiText::writeBytes(made.needleFile, AnsiText::encode(kNeedle));
        return made;
    }();
    return f;
}

SearchRequest request(const QString& query)
{
    SearchRequest r;
    r.folder = folder().path + u'/';
    r.query = query;
    r.annivYear = 2025;
    r.columnCaptions = {u"予定1"_s, u"予定2"_s, u"予定3"_s};
    return r;
}

qsizetype search(const SearchRequest& r, int threads)
{
    const std::atomic_bool cancelled{false};
    return SearchEngine::run(
               r, cancelled, [](QList<SearchHit>) {}, threads)
        .hits;
}

void grep(const QString& needleFile)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LC_ALL"_s, u"C"_s);
    p.setProcessEnvironment(env);
    p.setStandardOutputFile(QProcess::nullDevice());
    p.start(u"grep"_s, {u"-rF"_s, u"-f"_s, needleFile, folder().path});
    p.waitForFinished(-1);
}

void BM_GrepRF(benchmark::State& state)
{
    grep(folder().needleFile); // warms the file cache
    for (auto _ : state)
        grep(folder().needleFile);
}
BENCHMARK(BM_GrepRF)->Unit(benchmark::kMillisecond)->UseRealTime();

// A phrase in five diaries: every file is read, few hits.
void BM_SearchRare(benchmark::State& state)
{
    const SearchRequest r = request(kNeedle);
    search(r, int(state.range(0)));
    qsizetype hits = 0;
    for (auto _ : state)
        hits = search(r, int(state.range(0)));
    state.counters["hits"] = double(hits);
}
BENCHMARK(BM_SearchRare)->Arg(0)->Arg(1)->ArgName("threads")->Unit(benchmark::kMillisecond)->UseRealTime();

// Kana and width folding on: the query in half-width katakana finds the full-width hiragana.
void BM_SearchRareFolded(benchmark::State& state)
{
    const SearchRequest r = request(u"ﾋﾐﾂﾉ合言葉"_s);
    qsizetype hits = 0;
    for (auto _ : state)
        hits = search(r, 0);
    state.counters["hits"] = double(hits);
}
BENCHMARK(BM_SearchRareFolded)->Unit(benchmark::kMillisecond)->UseRealTime();

// Time to the first batch of hits, the moment the window can show something.
void BM_FirstHits(benchmark::State& state)
{
    const SearchRequest r = request(state.range(0) == 0 ? kNeedle : u"会議"_s);
    for (auto _ : state) {
        std::atomic_bool cancelled{false};
        QElapsedTimer timer;
        timer.start();
        double first = 0;
        SearchEngine::run(r, cancelled, [&](QList<SearchHit>) {
            if (!cancelled.exchange(true))
                first = double(timer.nsecsElapsed()) / 1e9;
        });
        state.SetIterationTime(first);
    }
}
BENCHMARK(BM_FirstHits)->Arg(0)->Arg(1)->ArgName("common")->Unit(benchmark::kMillisecond)->UseManualTime();

} // namespace

BENCHMARK_MAIN();
