// The main window's costs a user feels, each beside a floor measured in the same run, on a
// 30-year data folder written by make_data_folder.py: start-up to the first painted window
// against BareWindow (stock widgets of the same kinds reading the same files); a date change in
// one month, the repaint included, against BareWindow's date change, with ToDo + メモ of several
// sizes; the bold days of a month against the stats they need; start-up and date changes with
// the files shown watched for outside changes against the same with the watching off. Names
// ending in "_floor" are floors; the summary after the table gives the ratios.
#include "BareWindow.h"
#include "RatioReporter.h"

#include "app/QuavApplication.h"
#include "controls/DialogRunner.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/OptionDialogs.h"
#include "schedule/BoldDays.h"
#include "mainwindow/schedule.h"
#include "tests/support/MainFormParts.h"
#include "platform/MessageService.h"

#include <QEvent>
#include <QFile>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace MainFormParts;

namespace {

// Any message box would mean the measured path failed; count them instead of showing them.
class SilentMessages final : public MessageService {
public:
    Answer show(const QString&, Icon, Buttons, const QString& = {}) override
    {
        ++m_shown;
        return Answer::Ok;
    }
    int shown() const { return m_shown; }

private:
    int m_shown = 0;
};

SilentMessages& messages()
{
    static SilentMessages service;
    return service;
}

// Delivers what Qt has queued, the repaints included, until a round delivers nothing.
class EventLoop final : public QObject {
public:
    EventLoop() { qApp->installEventFilter(this); }

    // The paint events delivered: none after a date change means nothing was measured.
    int settle()
    {
        m_paints = 0;
        for (int round = 0; round < 1000; ++round) {
            const long before = m_events;
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            if (m_events == before)
                break;
        }
        return m_paints;
    }

    void show(QWidget& window)
    {
        window.show();
        for (int round = 0; round < 10000 && !(window.windowHandle() && window.windowHandle()->isExposed());
             ++round)
            QCoreApplication::processEvents();
        settle();
    }

private:
    bool eventFilter(QObject*, QEvent* event) override
    {
        ++m_events;
        m_paints += event->type() == QEvent::Paint;
        return false;
    }

    long m_events = 0;
    int m_paints = 0;
};

EventLoop& eventLoop()
{
    static EventLoop loop;
    return loop;
}

// Two days of one month, in the folder's range: the start date and the date changes' targets.
const QDate kDayA(2020, 6, 10);
const QDate kDayB(2020, 6, 11);
const QDate kDayNextMonth(2020, 7, 10);

MainFormEnv envFor(const QString& settingsFolder, const QString& dataFolder, bool watchFiles = true)
{
    MainFormEnv env;
    env.watchFiles = watchFiles;
    env.iniPath = settingsFolder + QStringLiteral("/QuavScheduler.ini");
    env.defaultDataFolder = dataFolder + u'/';
    env.defaultEditorPath = QStringLiteral("/usr/bin/true");
    env.now = [] { return QDateTime(kDayA, QTime(9, 0)); };
    env.messages = &messages();
    static QTemporaryDir state; // keeps the journal out of the user's own state folder
    env.recoveryRoot = state.path();
    return env;
}

void makeData(const QStringList& options)
{
    QProcess script;
    script.setStandardOutputFile(QProcess::nullDevice());
    script.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    script.start(QStringLiteral("/usr/bin/python3"),
                 QStringList{QStringLiteral(QUAV_MAKE_DATA_FOLDER)} + options);
    if (!script.waitForFinished(-1) || script.exitStatus() != QProcess::NormalExit ||
        script.exitCode() != 0) {
        std::fprintf(stderr, "make_data_folder.py %s failed\n", qPrintable(options.join(u' ')));
        std::exit(1);
    }
}

// Made once per run, or taken from QUAV_BENCH_DATA (whose ToDo.txt and Memo.txt are rewritten).
const QString& dataFolder()
{
    static QTemporaryDir made;
    static const QString folder = [] {
        QString path = qEnvironmentVariable("QUAV_BENCH_DATA");
        if (path.isEmpty()) {
            path = made.path();
            makeData({path, QStringLiteral("--anniv-days"), QStringLiteral("300")});
        }
        return path;
    }();
    return folder;
}

enum class Written { EarlierSession, JustNow };

// ToDo.txt and Memo.txt of about `kb` KB each. Files of an earlier session are seconds old at
// least: a file whose change time is a moment ago cannot vouch for itself (a rewrite within the
// clock's step would not move it), so the window may read it again at each date change.
void setTodoMemoSize(int kb, Written written = Written::EarlierSession)
{
    static int current = -1;
    static QElapsedTimer age;
    if (kb != current || written == Written::JustNow) {
        const QString bytes = QString::number(kb * 1000);
        makeData({dataFolder(), QStringLiteral("--pages-only"), QStringLiteral("--todo-bytes"), bytes,
                  QStringLiteral("--memo-bytes"), bytes});
        current = kb;
        age.start();
    }
    if (written == Written::EarlierSession && age.elapsed() < 5000)
        QThread::msleep(quint64(5000 - age.elapsed()));
}

constexpr int kStartupKb = 20; // ToDo + メモ of a start-up: the script's usual sizes

void BM_Startup_MainForm(benchmark::State& state, bool withData)
{
    QTemporaryDir empty;
    QTemporaryDir settings;
    if (withData)
        setTodoMemoSize(kStartupKb);
    const QString data = withData ? dataFolder() : empty.path();
    const int before = messages().shown();
    for (auto _ : state) {
        auto form = std::make_unique<TMainForm>(envFor(settings.path(), data));
        eventLoop().show(*form);
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    if (messages().shown() != before)
        state.SkipWithError("the start-up showed a message");
}
BENCHMARK_CAPTURE(BM_Startup_MainForm, empty_folder, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Startup_MainForm, data_30y, true)->Unit(benchmark::kMillisecond);

// The program's start as a whole: the option dialogs are made at start too.
void BM_Startup_MainFormWithDialogs(benchmark::State& state)
{
    QTemporaryDir settings;
    setTodoMemoSize(kStartupKb);
    for (auto _ : state) {
        auto form = std::make_unique<TMainForm>(envFor(settings.path(), dataFolder()));
        auto dialogs = std::make_unique<OptionDialogs>(DialogRunner::modal());
        form->setOptionDialogs(dialogs.get());
        eventLoop().show(*form);
        state.PauseTiming();
        dialogs.reset();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Startup_MainFormWithDialogs)->Unit(benchmark::kMillisecond);

void BM_Startup_Bare_floor(benchmark::State& state, bool withData)
{
    QTemporaryDir empty;
    if (withData)
        setTodoMemoSize(kStartupKb);
    const QString data = withData ? dataFolder() : empty.path();
    for (auto _ : state) {
        auto window = std::make_unique<BareWindow>(data, kDayA);
        eventLoop().show(*window);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK_CAPTURE(BM_Startup_Bare_floor, empty_folder, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Startup_Bare_floor, data_30y, true)->Unit(benchmark::kMillisecond);

// Day A to day B and back, each change followed by the event loop until the repaints are done.
// The argument is the size of ToDo.txt and of Memo.txt in KB (ToDo + メモ is twice that); a
// second argument 1 has them written just before the window opens, as at a start right after
// another program (or a close) wrote them.
void BM_DateChange(benchmark::State& state)
{
    setTodoMemoSize(int(state.range(0)), state.range(1) ? Written::JustNow : Written::EarlierSession);
    QTemporaryDir settings;
    TMainForm form(envFor(settings.path(), dataFolder()));
    eventLoop().show(form);
    const int before = messages().shown();
    bool toB = true;
    int unpainted = 0;
    MonthCalendar* cal = calendar(form);
    for (auto _ : state) {
        cal->setSelectedDate(toB ? kDayB : kDayA);
        Q_EMIT cal->dateChosen();
        unpainted += eventLoop().settle() == 0;
        toB = !toB;
    }
    if (messages().shown() != before)
        state.SkipWithError("the date change showed a message");
    else if (unpainted > 0)
        state.SkipWithError("a date change painted nothing");
}
BENCHMARK(BM_DateChange)
    ->Args({0, 0})
    ->Args({100, 0})
    ->Args({200, 0})
    ->Args({1000, 0})
    ->Args({200, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_DateChange_Bare_floor(benchmark::State& state)
{
    setTodoMemoSize(int(state.range(0)));
    BareWindow window(dataFolder(), kDayA);
    eventLoop().show(window);
    bool toB = true;
    int unpainted = 0;
    for (auto _ : state) {
        window.changeDate(toB ? kDayB : kDayA);
        unpainted += eventLoop().settle() == 0;
        toB = !toB;
    }
    if (unpainted > 0)
        state.SkipWithError("a date change painted nothing");
}
BENCHMARK(BM_DateChange_Bare_floor)->Arg(0)->Arg(100)->Arg(200)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_BoldDays_Month(benchmark::State& state)
{
    quint32 marked = 0;
    for (auto _ : state) {
        marked = BoldDays::forMonth(dataFolder(), kDayA.year(), kDayA.month());
        benchmark::DoNotOptimize(marked);
    }
    if (marked == 0)
        state.SkipWithError("no bold day found");
}
BENCHMARK(BM_BoldDays_Month)->Unit(benchmark::kMicrosecond);

// The folder opened once, then one stat per name (built beforehand) until a day is found marked.
void BM_BoldDays_Stats_floor(benchmark::State& state)
{
    const QByteArray folder = QFile::encodeName(dataFolder());
    std::vector<std::array<std::array<char, 24>, 3>> days;
    for (int d = 1; d <= kDayA.daysInMonth(); ++d) {
        auto& names = days.emplace_back();
        std::snprintf(names[0].data(), names[0].size(), "Anniv%02d%02d.txt", kDayA.month(), d);
        std::snprintf(names[1].data(), names[1].size(), "%04d%02d%02d.txt", kDayA.year(), kDayA.month(), d);
        std::snprintf(names[2].data(), names[2].size(), "Sch%04d%02d%02d.txt", kDayA.year(), kDayA.month(),
                      d);
    }
    for (auto _ : state) {
        const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        quint32 marked = 0;
        for (size_t d = 0; d < days.size(); ++d) {
            for (const auto& name : days[d]) {
                struct stat info {};
                if (::fstatat(fd, name.data(), &info, 0) == 0) {
                    marked |= 1u << d;
                    break;
                }
            }
        }
        ::close(fd);
        benchmark::DoNotOptimize(marked);
    }
}
BENCHMARK(BM_BoldDays_Stats_floor)->Unit(benchmark::kMicrosecond);

// The watching of the files shown (pages, month, data folder) against none: the same window,
// the same folder, with MainFormEnv::watchFiles on and off, registered in pairs so that each
// measurement and its floor run one after the other. The argument is the size of ToDo.txt and
// of Memo.txt in KB, as for BM_DateChange.
void BM_Startup_Watching(benchmark::State& state, int kb, bool watch)
{
    QTemporaryDir settings;
    setTodoMemoSize(kb);
    const int before = messages().shown();
    for (auto _ : state) {
        auto form = std::make_unique<TMainForm>(envFor(settings.path(), dataFolder(), watch));
        eventLoop().show(*form);
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    if (messages().shown() != before)
        state.SkipWithError("the start-up showed a message");
}

// Day A to `other` and back: another day of its month, or a day of the next month (whose month
// file is read, whose bold days are found, and which is watched in the first one's place).
void BM_DateChange_Watching(benchmark::State& state, int kb, QDate other, bool watch)
{
    setTodoMemoSize(kb);
    QTemporaryDir settings;
    TMainForm form(envFor(settings.path(), dataFolder(), watch));
    eventLoop().show(form);
    const int before = messages().shown();
    bool toOther = true;
    int unpainted = 0;
    MonthCalendar* cal = calendar(form);
    for (auto _ : state) {
        cal->setSelectedDate(toOther ? other : kDayA);
        Q_EMIT cal->dateChosen();
        unpainted += eventLoop().settle() == 0;
        toOther = !toOther;
    }
    if (messages().shown() != before)
        state.SkipWithError("the date change showed a message");
    else if (unpainted > 0)
        state.SkipWithError("a date change painted nothing");
}

constexpr std::array kWatchingKb{kStartupKb, 1000};

std::string watchingName(const char* stem, bool watch, const std::string& rest)
{
    return std::string(stem) + (watch ? "" : "_floor") + rest;
}

[[maybe_unused]] const bool watchingRegistered = [] {
    for (const int kb : kWatchingKb) {
        const std::string size = "/" + std::to_string(kb);
        for (const bool watch : {true, false})
            benchmark::RegisterBenchmark(watchingName("BM_Startup_Watching", watch, size).c_str(),
                                         BM_Startup_Watching, kb, watch)
                ->Unit(benchmark::kMillisecond);
        for (const auto& [where, other] : {std::pair{"/month", kDayB}, std::pair{"/months", kDayNextMonth}}) {
            for (const bool watch : {true, false})
                benchmark::RegisterBenchmark(
                    watchingName("BM_DateChange_Watching", watch, where + size).c_str(),
                    BM_DateChange_Watching, kb, other, watch)
                    ->Unit(benchmark::kMicrosecond);
        }
    }
    return true;
}();

} // namespace

QtMessageHandler standardMessages = nullptr;

// The offscreen platform warns at every window shown; the table is easier to read without.
void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    if (standardMessages)
        standardMessages(type, context, message);
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    standardMessages = qInstallMessageHandler(quietOffscreenWarnings);
    QuavApplication app(argc, argv, &messages());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // One window of each kind first, so neither measurement pays for loading the fonts.
    {
        QTemporaryDir warm;
        TMainForm form(envFor(warm.path(), warm.path()));
        eventLoop().show(form);
        BareWindow bare(warm.path(), kDayA);
        eventLoop().show(bare);
    }
    RatioReporter reporter({
        {"BM_Startup_MainForm/empty_folder", "BM_Startup_Bare_floor/empty_folder", 1.15},
        {"BM_Startup_MainForm/data_30y", "BM_Startup_Bare_floor/data_30y", 1.15},
        {"BM_Startup_MainFormWithDialogs", "BM_Startup_Bare_floor/data_30y", 0},
        {"BM_DateChange/0/0", "BM_DateChange_Bare_floor/0", 1.5},
        {"BM_DateChange/100/0", "BM_DateChange_Bare_floor/100", 1.5},
        {"BM_DateChange/200/0", "BM_DateChange_Bare_floor/200", 1.5},
        {"BM_DateChange/1000/0", "BM_DateChange_Bare_floor/1000", 1.5},
        // ToDo + メモ of 400 KB against none: the pages that do not change with the date.
        {"BM_DateChange/200/0", "BM_DateChange/0/0", 1.1},
        // Files changed less than the clock's grain ago are read again on purpose (a rewrite in
        // the same step would not show): the price of safety in the first seconds after a write.
        {"BM_DateChange/200/1", "BM_DateChange/0/0", 0},
        {"BM_BoldDays_Month", "BM_BoldDays_Stats_floor", 1.5},
        // The files shown watched against none: start-up, a day of the same month, another month.
        {"BM_Startup_Watching/20", "BM_Startup_Watching_floor/20", 1.05},
        {"BM_DateChange_Watching/month/20", "BM_DateChange_Watching_floor/month/20", 1.05},
        {"BM_DateChange_Watching/months/20", "BM_DateChange_Watching_floor/months/20", 1.05},
        {"BM_Startup_Watching/1000", "BM_Startup_Watching_floor/1000", 1.05},
        {"BM_DateChange_Watching/month/1000", "BM_DateChange_Watching_floor/month/1000", 1.05},
        {"BM_DateChange_Watching/months/1000", "BM_DateChange_Watching_floor/months/1000", 1.05},
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
