// How soon the watcher tells a change on disk: an in-place write, an atomic replace (the
// watched file is another one afterwards) and a folder renamed away and back, each timed from
// the change to the report. And what comparing two long pages costs.
#include "platform/FileReplace.h"
#include "platform/FileWatch.h"
#include "sync/model/LineDiff.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

// Seconds from `change` to the watcher's report of `path`; -1 when none came within 5 s.
double latency(FileWatch& watch, const QString& path, const std::function<void()>& change)
{
    QEventLoop loop;
    QElapsedTimer timer;
    double seconds = -1;
    const auto told = QObject::connect(&watch, &FileWatch::fileChanged, &loop, [&](const QString& p) {
        if (p == path && seconds < 0) {
            seconds = double(timer.nsecsElapsed()) / 1e9;
            loop.quit();
        }
    });
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    timer.start();
    change();
    loop.exec();
    QObject::disconnect(told);
    return seconds;
}

void writeInPlace(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

void report(benchmark::State& state, const std::vector<double>& samples)
{
    double worst = 0;
    double sum = 0;
    for (const double s : samples) {
        worst = std::max(worst, s);
        sum += s;
    }
    state.counters["mean_ms"] = samples.empty() ? 0 : 1000 * sum / double(samples.size());
    state.counters["worst_ms"] = 1000 * worst;
}

void BM_WatchInPlaceWrite(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Memo.txt"));
    writeInPlace(path, "0");
    FileWatch watch;
    watch.setPaths({path});
    std::vector<double> samples;
    int n = 0;
    for (auto _ : state) {
        const double s = latency(watch, path, [&] { writeInPlace(path, QByteArray::number(++n)); });
        if (s < 0)
            state.SkipWithError("no report");
        samples.push_back(s);
        state.SetIterationTime(std::max(s, 0.0));
    }
    report(state, samples);
}

void BM_WatchAtomicReplace(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("20261209.txt"));
    FileReplace::replace(path, "0");
    FileWatch watch;
    watch.setPaths({path});
    std::vector<double> samples;
    int n = 0;
    for (auto _ : state) {
        const double s = latency(watch, path, [&] { FileReplace::replace(path, QByteArray::number(++n)); });
        if (s < 0)
            state.SkipWithError("no report");
        samples.push_back(s);
        state.SetIterationTime(std::max(s, 0.0));
    }
    report(state, samples);
}

void BM_WatchFolderRename(benchmark::State& state)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("data"));
    const QString path = dir.filePath(QStringLiteral("data/ToDo.txt"));
    writeInPlace(path, "x");
    FileWatch watch;
    watch.setPaths({path});
    std::vector<double> samples;
    bool away = false;
    for (auto _ : state) {
        const double s = latency(watch, path, [&] {
            away = !away;
            QDir(dir.path())
                .rename(away ? QStringLiteral("data") : QStringLiteral("moved"),
                        away ? QStringLiteral("moved") : QStringLiteral("data"));
        });
        if (s < 0)
            state.SkipWithError("no report");
        samples.push_back(s);
        state.SetIterationTime(std::max(s, 0.0));
    }
    report(state, samples);
}

// Two pages of `lines` lines, one line in fifty changed.
void BM_CompareLongPages(benchmark::State& state)
{
    QStringList a;
    QStringList b;
    for (int i = 0; i < state.range(0); ++i) {
        const QString line = QStringLiteral("%1行目の日記。今日は会議があった。").arg(i);
        a << line;
        b << (i % 50 == 7 ? line + QStringLiteral("（追記）") : line);
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(LineDiff::compare(a, b));
}

} // namespace

BENCHMARK(BM_WatchInPlaceWrite)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WatchAtomicReplace)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WatchFolderRename)->UseManualTime()->Iterations(10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CompareLongPages)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
