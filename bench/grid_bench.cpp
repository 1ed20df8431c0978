#include "RatioReporter.h"

#include "controls/model/GridModel.h"
#include "platform/AnsiText.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

using namespace Qt::Literals::StringLiterals;

// Each load and save sits next to its floor: the file's bytes read and converted (or converted
// and written) with nothing else, measured in the same run on the same file. A save replaces its
// file atomically and waits for the disk, which is most of its time; the write floors come with
// and without that wait (fdatasync), so the rest of the save can be told apart.
namespace {

struct Files {
    QTemporaryDir dir;
    QString month;
    QString large;
    QString monthOut;
    QString largeOut;
};

GridModel makeGrid(int rows)
{
    const QStringList texts = {u"会議"_s,  u"歯医者, 3時"_s,  QString(), u"打ち合わせ 10:00"_s,
                               u"★締切"_s, u"\"至急\"連絡"_s, QString(), u"出張(大阪)"_s};
    GridModel grid(4, rows, 1, 1);
    grid.setCell(1, 0, u"予定1"_s);
    grid.setCell(2, 0, u"予定2"_s);
    grid.setCell(3, 0, u"予定3"_s);
    for (int r = 1; r < rows; ++r) {
        grid.setCell(0, r, QString::number(r) + u"日(月)"_s);
        for (int c = 1; c < 4; ++c)
            grid.setCell(c, r, texts.at((r * 3 + c) % texts.size()));
    }
    return grid;
}

Files& files()
{
    static const std::unique_ptr<Files> f = [] {
        auto made = std::make_unique<Files>();
        made->month = made->dir.filePath(u"200101.csv"_s);
        made->large = made->dir.filePath(u"large.csv"_s);
        made->monthOut = made->dir.filePath(u"month-out.csv"_s);
        made->largeOut = made->dir.filePath(u"large-out.csv"_s);
        makeGrid(32).saveToFile(made->month);
        makeGrid(100000).saveToFile(made->large);
        return made;
    }();
    return *f;
}

void readFloor(benchmark::State& state, const QString& path)
{
    for (auto _ : state) {
        const QByteArray bytes = AnsiText::readBytes(path);
        benchmark::DoNotOptimize(AnsiText::decode(AnsiText::untilNul(bytes)));
    }
}

// As the program does it: the load replaces what the grid held.
void load(benchmark::State& state, const QString& path)
{
    GridModel grid;
    for (auto _ : state) {
        grid.loadFromFile(path);
        benchmark::DoNotOptimize(grid.rowCount());
    }
}

// The least an atomic replace does: the bytes into a new file, (the wait for the disk,) rename.
void writeFloor(benchmark::State& state, const QString& from, const QString& to, bool sync)
{
    const QString text = AnsiText::decode(AnsiText::readBytes(from));
    const QByteArray path = QFile::encodeName(to);
    const QByteArray temporary = path + ".new";
    for (auto _ : state) {
        const QByteArray bytes = AnsiText::encode(text);
        const int fd = ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0 || ::write(fd, bytes.constData(), size_t(bytes.size())) != bytes.size() ||
            (sync && ::fdatasync(fd) != 0) || ::close(fd) != 0 ||
            ::rename(temporary.constData(), path.constData()) != 0) {
            state.SkipWithError("the write failed");
            break;
        }
    }
}

void save(benchmark::State& state, const QString& from, const QString& to)
{
    GridModel grid;
    grid.loadFromFile(from);
    for (auto _ : state)
        grid.saveToFile(to);
}

void loadSave(benchmark::State& state, const QString& from, const QString& to)
{
    GridModel grid;
    for (auto _ : state) {
        grid.loadFromFile(from);
        grid.saveToFile(to);
    }
}

// The part of a save that is ours: cells to the bytes written.
void saveBytes(benchmark::State& state, const QString& from)
{
    GridModel grid;
    grid.loadFromFile(from);
    for (auto _ : state)
        benchmark::DoNotOptimize(AnsiText::encode(grid.toText()));
}

void BM_MonthRead_floor(benchmark::State& s)
{
    readFloor(s, files().month);
}
void BM_MonthLoad(benchmark::State& s)
{
    load(s, files().month);
}
void BM_MonthWriteSync_floor(benchmark::State& s)
{
    writeFloor(s, files().month, files().monthOut, true);
}
void BM_MonthWriteNoSync_floor(benchmark::State& s)
{
    writeFloor(s, files().month, files().monthOut, false);
}
void BM_MonthSave(benchmark::State& s)
{
    save(s, files().month, files().monthOut);
}
void BM_MonthSaveBytes(benchmark::State& s)
{
    saveBytes(s, files().month);
}
void BM_MonthLoadSave(benchmark::State& s)
{
    loadSave(s, files().month, files().monthOut);
}
void BM_LargeRead_floor(benchmark::State& s)
{
    readFloor(s, files().large);
}
void BM_LargeLoad(benchmark::State& s)
{
    load(s, files().large);
}
void BM_LargeWriteSync_floor(benchmark::State& s)
{
    writeFloor(s, files().large, files().largeOut, true);
}
void BM_LargeWriteNoSync_floor(benchmark::State& s)
{
    writeFloor(s, files().large, files().largeOut, false);
}
void BM_LargeSave(benchmark::State& s)
{
    save(s, files().large, files().largeOut);
}

} // namespace

BENCHMARK(BM_MonthRead_floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MonthLoad)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MonthWriteSync_floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MonthWriteNoSync_floor)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MonthSave)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MonthSaveBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_MonthLoadSave)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LargeRead_floor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeLoad)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeWriteSync_floor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeWriteNoSync_floor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeSave)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter({
        {"BM_MonthLoad", "BM_MonthRead_floor"},
        {"BM_MonthSave", "BM_MonthWriteSync_floor"},
        // The save without its wait for the disk: compare the difference of the two floors.
        {"BM_MonthSave", "BM_MonthWriteNoSync_floor"},
        {"BM_MonthWriteSync_floor", "BM_MonthWriteNoSync_floor"},
        {"BM_LargeLoad", "BM_LargeRead_floor"},
        {"BM_LargeSave", "BM_LargeWriteSync_floor"},
        {"BM_LargeSave", "BM_LargeWriteNoSync_floor"},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
