// Large pages and months: ToDo.txt and Memo.txt of 50 MB each (code page 932, CR LF), and a
// large month file. Start-up to the first painted window (the two pages fill after it, in the
// background), start-up until both files are read (メモ, behind its tab, takes its text when the
// tab is shown), a date change inside one month, a keystroke in the large ToDo page with its
// repaint, the time the window waits for the journal's snapshot of it (written in the
// background) and until it is written, and the month grid's load. The targets: start-up 3 s, date change 50
// ms, keystroke 30 ms; the peak resident memory after each step is a counter, as a multiple of the two pages'
// bytes
// ("peak_x_files", target 8) or of the month file's ("peak_x_file").
// On two shared cores: first paint 30-70 ms (it was 6-8 s while the pages filled first), both
// files read 5.5-8 s, the journal's wait 60 ms (it was 1.7-2.3 s), peak 7.8 until filled.
#include "SilentMessages.h"
#include "app/QuavApplication.h"
#include "controls/jvStringGrid.h"
#include "mainwindow/MonthCalendar.h"
#include "schedule/RecoveryJournal.h"
#include "mainwindow/schedule.h"
#include "tests/support/MainFormParts.h"
#include "platform/AnsiText.h"
#include "platform/MessageService.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <memory>

using namespace MainFormParts;

namespace {

// QUAV_LARGE_MB sets another size, for a profiler's run.
const qsizetype kPageBytes = qEnvironmentVariableIntValue("QUAV_LARGE_MB") > 0
                                 ? qsizetype(qEnvironmentVariableIntValue("QUAV_LARGE_MB")) * 1000 * 1000
                                 : 50 * 1000 * 1000;
const QDate kDayA(2020, 6, 10);
const QDate kDayB(2020, 6, 11);

double peakBytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024.0;
}

void settle()
{
    for (int round = 0; round < 50; ++round)
        QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Lines of an ordinary ToDo list, Japanese and ASCII mixed, until `bytes` in code page 932.
QByteArray pageBytes(qsizetype bytes, const QString& what)
{
    QByteArray out;
    out.reserve(bytes + 200);
    for (int n = 0; out.size() < bytes; ++n)
        out += AnsiText::encode(QStringLiteral("%1 %2: 資料を確認して、会議の準備をする (No.%3)\r\n")
                                    .arg(what)
                                    .arg(n % 97)
                                    .arg(n));
    out.truncate(bytes);
    return out;
}

const QString& dataFolder()
{
    static QTemporaryDir made;
    static const QString folder = [] {
        QFile todo(made.filePath(QStringLiteral("ToDo.txt")));
        QFile memo(made.filePath(QStringLiteral("Memo.txt")));
        if (!todo.open(QIODevice::WriteOnly) || !memo.open(QIODevice::WriteOnly))
            std::abort();
        todo.write(pageBytes(kPageBytes, QStringLiteral("やること")));
        memo.write(pageBytes(kPageBytes, QStringLiteral("メモ")));
        todo.close();
        memo.close();
        // Files of an earlier session: seconds old, so their stamps vouch for them.
        QThread::sleep(3);
        return made.path();
    }();
    return folder;
}

MainFormEnv envFor(const QString& settingsFolder)
{
    MainFormEnv env;
    env.iniPath = settingsFolder + QStringLiteral("/QuavScheduler.ini");
    env.defaultDataFolder = dataFolder() + u'/';
    env.defaultEditorPath = QStringLiteral("/usr/bin/true");
    env.now = [] { return QDateTime(kDayA, QTime(9, 0)); };
    env.messages = &messages();
    static QTemporaryDir state;
    env.recoveryRoot = state.path();
    return env;
}

enum class Wait { ForWindow, ForPages };

std::unique_ptr<TMainForm> openForm(const QString& settingsFolder, Wait wait = Wait::ForPages)
{
    auto form = std::make_unique<TMainForm>(envFor(settingsFolder));
    form->show();
    for (int round = 0; round < 10000 && !(form->windowHandle() && form->windowHandle()->isExposed());
         ++round)
        QCoreApplication::processEvents();
    settle();
    if (wait == Wait::ForPages && form->pagesFilling()) {
        // Idle while the worker fills: a busy loop here would take its processor.
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (!form->pagesFilling())
                loop.quit();
        });
        poll.start(10);
        loop.exec();
    }
    settle();
    return form;
}

void reportPeak(benchmark::State& state)
{
    state.counters["peak_x_files"] = peakBytes() / double(2 * kPageBytes);
    if (messages().shown > 0)
        state.SkipWithError("a message was shown");
}

void BM_Large_Startup(benchmark::State& state)
{
    dataFolder();
    QTemporaryDir settings;
    for (auto _ : state) {
        auto form = openForm(settings.path(), Wait::ForWindow);
        state.PauseTiming();
        form.reset();
        settle();
        state.ResumeTiming();
    }
    reportPeak(state);
}
BENCHMARK(BM_Large_Startup)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_Large_StartupUntilFilled(benchmark::State& state)
{
    dataFolder();
    QTemporaryDir settings;
    for (auto _ : state) {
        auto form = openForm(settings.path(), Wait::ForPages);
        state.PauseTiming();
        form.reset();
        settle();
        state.ResumeTiming();
    }
    reportPeak(state);
}
BENCHMARK(BM_Large_StartupUntilFilled)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

void BM_Large_DateChange(benchmark::State& state)
{
    QTemporaryDir settings;
    auto form = openForm(settings.path());
    bool toB = true;
    MonthCalendar* cal = calendar(*form);
    for (auto _ : state) {
        cal->setSelectedDate(toB ? kDayB : kDayA);
        Q_EMIT cal->dateChosen();
        settle();
        toB = !toB;
    }
    reportPeak(state);
}
BENCHMARK(BM_Large_DateChange)->Unit(benchmark::kMillisecond)->UseRealTime();

// A key typed into the 50 MB ToDo page, shown and focused, and its repaint.
void BM_Large_Keystroke(benchmark::State& state)
{
    QTemporaryDir settings;
    auto form = openForm(settings.path());
    pageTabs(*form)->setCurrentIndex(0);
    QPlainTextEdit* memo = MainFormParts::memo(*form, "Memo2");
    memo->setFocus();
    memo->moveCursor(QTextCursor::End);
    settle();
    for (auto _ : state) {
        QTest::keyClick(memo, Qt::Key_A);
        settle();
    }
    reportPeak(state);
}
BENCHMARK(BM_Large_Keystroke)->Unit(benchmark::kMillisecond)->UseRealTime();

// The journal's snapshot of the modified 50 MB page, taken a moment after typing pauses: what
// the window waits for, and ("written_ms") the time until the entry is on disk.
void BM_Large_JournalSnapshot(benchmark::State& state)
{
    QTemporaryDir settings;
    auto form = openForm(settings.path());
    double writtenMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTest::keyClick(memo(*form, "Memo2"), Qt::Key_A);
        QElapsedTimer written;
        written.start();
        state.ResumeTiming();
        form->journalAfterPause();
        state.PauseTiming();
        form->journal().finishBackground();
        writtenMs += double(written.elapsed());
        settle();
        state.ResumeTiming();
    }
    state.counters["written_ms"] = writtenMs / double(state.iterations());
    reportPeak(state);
    // Not offered to the next window made here.
    form->journal().remove(form->dataFile(DataFileNames::Kind::ToDo));
}
BENCHMARK(BM_Large_JournalSnapshot)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// A month file of `range(0)` MB, rows of empty fields as another program might pad them: the
// grid's load, and the resident memory it leaves at its peak.
void BM_Large_MonthLoad(benchmark::State& state)
{
    const qsizetype bytes = qsizetype(state.range(0)) * 1000 * 1000;
    QByteArray file = AnsiText::encode(QStringLiteral(",予定1,予定2,予定3\r\n"));
    const QByteArray row = ",,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,,\r\n";
    file.reserve(bytes + row.size());
    while (file.size() < bytes)
        file += row;
    const double before = peakBytes();
    for (auto _ : state) {
        TjvStringGrid grid;
        grid.LoadFromBytes(file);
        benchmark::DoNotOptimize(grid.RowCount());
    }
    state.counters["peak_x_file"] = (peakBytes() - before) / double(file.size());
}
BENCHMARK(BM_Large_MonthLoad)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QuavApplication app(argc, argv, &messages());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
