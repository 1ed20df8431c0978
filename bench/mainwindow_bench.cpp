// The main window's costs a user feels, each next to a floor measured in the same run: start-up
// to the first shown window against a bare window of the same kinds of widgets; a date change
// within one month in a data folder of 30 years against the file-system calls it has to make;
// the bold days of one month against their stats. The summary after the table gives the ratios.
#include "app/QuavApplication.h"
#include "controls/jvStringGrid.h"
#include "controls/DialogRunner.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/OptionDialogs.h"
#include "mainwindow/model/BoldDays.h"
#include "mainwindow/model/DayFiles.h"
#include "mainwindow/schedule.h"
#include "platform/AnsiText.h"
#include "platform/MessageService.h"

#include <QCalendarWidget>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

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

QString withSeparator(const QString& folder)
{
    return folder + u'/';
}

void waitExposed(QWidget& window)
{
    window.show();
    for (int round = 0; round < 10000 && !(window.windowHandle() && window.windowHandle()->isExposed());
         ++round)
        QCoreApplication::processEvents();
}

MainFormEnv envFor(const QString& settingsFolder, const QString& dataFolder, QDate today)
{
    MainFormEnv env;
    env.iniPath = withSeparator(settingsFolder) + QStringLiteral("QuavScheduler.ini");
    env.defaultDataFolder = withSeparator(dataFolder);
    env.defaultEditorPath = QStringLiteral("/usr/bin/true");
    env.now = [today] { return QDateTime(today, QTime(9, 0)); };
    env.messages = &messages();
    static QTemporaryDir state; // keeps the journal out of the user's own state folder
    env.recoveryRoot = state.path();
    return env;
}

// A start-up as on any day: the calendar opens on the current month already.
QDate startDate()
{
    return QDate::currentDate();
}

// The bare floor: the kinds of widgets the main window holds, laid out alike, with no rules.
std::unique_ptr<QMainWindow> bareWindow()
{
    auto window = std::make_unique<QMainWindow>();
    window->setWindowTitle(QStringLiteral("QuavScheduler"));
    QFont font(QStringLiteral("ＭＳ Ｐゴシック"));
    font.setPixelSize(12);
    window->setFont(font);
    window->resize(617, 461);

    for (const char* title : {"ファイル(&F)", "表示(&V)"})
        window->menuBar()->addMenu(QString::fromUtf8(title))->addAction(QStringLiteral("終了(&X)"));

    auto* left = new QWidget;
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    auto* bar1 = new QToolBar;
    bar1->addWidget(new QLabel(QStringLiteral(" 2010年 6月")));
    leftLayout->addWidget(bar1);
    auto* grid = new TjvStringGrid;
    grid->setColCount(4);
    grid->setRowCount(32);
    grid->setFixedCols(1);
    grid->setFixedRows(1);
    grid->setDefaultColWidth(50);
    grid->setDefaultRowHeight(16);
    for (int r = 1; r < 32; ++r)
        grid->setCells(0, r, QString::number(r) + QStringLiteral("日(木)"));
    for (int c = 1; c < 4; ++c)
        grid->setCells(c, 0, QStringLiteral("予定") + QString::number(c));
    leftLayout->addWidget(grid, 1);

    auto* right = new QWidget;
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    auto* bar2 = new QToolBar;
    bar2->addAction(QStringLiteral("今日へ移動"));
    rightLayout->addWidget(bar2);
    auto* calendar = new QCalendarWidget;
    calendar->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    calendar->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    auto* pages = new QWidget;
    auto* pagesLayout = new QVBoxLayout(pages);
    pagesLayout->setContentsMargins(0, 0, 0, 0);
    pagesLayout->addWidget(new QToolBar);
    auto* tabs = new QTabWidget;
    for (const char* caption : {"ToDo", "メモ", "予定", "日誌", "記念日"})
        tabs->addTab(new QPlainTextEdit, QString::fromUtf8(caption));
    pagesLayout->addWidget(tabs, 1);
    auto* split2 = new QSplitter(Qt::Vertical);
    split2->addWidget(calendar);
    split2->addWidget(pages);
    rightLayout->addWidget(split2, 1);

    auto* split1 = new QSplitter(Qt::Horizontal);
    split1->addWidget(left);
    split1->addWidget(right);
    window->setCentralWidget(split1);
    window->statusBar()->addWidget(new QLabel(QStringLiteral("2010年06月10日")), 1);
    return window;
}

// A folder as a user leaves it after a first close: settings, a month file and the ToDo page.
const QString& usedFolder()
{
    static QTemporaryDir dir;
    static const QString folder = [] {
        TMainForm form(envFor(dir.path(), dir.path(), startDate()));
        waitExposed(form);
        form.Memo2->setPlainText(QStringLiteral("買い物\n電話"));
        form.Memo2->document()->setModified(true);
        form.jvStringGrid1->setCells(1, 10, QStringLiteral("会議★"));
        form.close();
        return dir.path();
    }();
    return folder;
}

void BM_Startup_MainForm(benchmark::State& state, bool used)
{
    QTemporaryDir fresh;
    const QString folder = used ? usedFolder() : fresh.path();
    const int before = messages().shown();
    for (auto _ : state) {
        auto form = std::make_unique<TMainForm>(envFor(folder, folder, startDate()));
        waitExposed(*form);
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    if (messages().shown() != before)
        state.SkipWithError("the start-up showed a message");
}
BENCHMARK_CAPTURE(BM_Startup_MainForm, empty_folder, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Startup_MainForm, used_folder, true)->Unit(benchmark::kMillisecond);

// The program's start as a whole: the main window, then the settings and option dialogs made
// once, hidden, for the whole run.
void BM_Startup_MainFormWithDialogs(benchmark::State& state, bool used)
{
    QTemporaryDir fresh;
    const QString folder = used ? usedFolder() : fresh.path();
    const int before = messages().shown();
    for (auto _ : state) {
        auto form = std::make_unique<TMainForm>(envFor(folder, folder, startDate()));
        auto dialogs = std::make_unique<OptionDialogs>(DialogRunner::modal());
        form->setOptionDialogs(dialogs.get());
        waitExposed(*form);
        state.PauseTiming();
        dialogs.reset();
        form.reset();
        state.ResumeTiming();
    }
    if (messages().shown() != before)
        state.SkipWithError("the start-up showed a message");
}
BENCHMARK_CAPTURE(BM_Startup_MainFormWithDialogs, empty_folder, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Startup_MainFormWithDialogs, used_folder, true)->Unit(benchmark::kMillisecond);

// The dialogs alone: their share of the start-up above.
void BM_Startup_OptionDialogsOnly(benchmark::State& state)
{
    for (auto _ : state) {
        auto dialogs = std::make_unique<OptionDialogs>(DialogRunner::modal());
        benchmark::DoNotOptimize(dialogs.get());
        state.PauseTiming();
        dialogs.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Startup_OptionDialogsOnly)->Unit(benchmark::kMicrosecond);

void BM_Startup_BareWindow_floor(benchmark::State& state)
{
    for (auto _ : state) {
        auto window = bareWindow();
        waitExposed(*window);
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Startup_BareWindow_floor)->Unit(benchmark::kMillisecond);

// 30 years of a diligent user: every month file with entries, six diary and four plan days a
// month, two anniversaries a month, ToDo and メモ pages.
constexpr int kFirstYear = 1995;
constexpr int kYears = 30;
constexpr int kDiaryDays[] = {1, 5, 10, 15, 20, 25};
constexpr int kPlanDays[] = {3, 10, 17, 24};
constexpr int kAnnivDays[] = {10, 20};

const QString& historyFolder()
{
    static QTemporaryDir dir;
    static const QString folder = [] {
        const QString base = withSeparator(dir.path());
        const auto write = [&base](const QString& name, const QString& text) {
            AnsiText::writeBytes(base + name, AnsiText::encode(text));
        };
        const QString page = QStringLiteral("朝から雨。打ち合わせ二件。\r\n夜は読書。\r\n");
        for (int year = kFirstYear; year < kFirstYear + kYears; ++year) {
            for (int month = 1; month <= 12; ++month) {
                const QDate first(year, month, 1);
                QString csv = QStringLiteral(",予定1,予定2,予定3\r\n");
                for (int d = 1; d <= first.daysInMonth(); ++d)
                    csv += QString::number(d) + QStringLiteral("日(月),会議,★歯医者,\r\n");
                write(DayFiles::monthFileName(first), csv);
                for (int d : kDiaryDays)
                    write(DayFiles::diaryFileName(QDate(year, month, d)), page);
                for (int d : kPlanDays)
                    write(DayFiles::planFileName(QDate(year, month, d)), page);
            }
        }
        for (int month = 1; month <= 12; ++month) {
            for (int d : kAnnivDays)
                write(DayFiles::annivFileName(QDate(2000, month, d)), QStringLiteral("結婚記念日"));
        }
        write(DayFiles::kToDoName, QStringLiteral("牛乳\r\n切手\r\n"));
        write(DayFiles::kMemoName, page.repeated(20));
        return base;
    }();
    return folder;
}

// Day 10 has every page; day 11 none, so each change both reads full pages and finds empty ones.
const QDate kDayA(2010, 6, 10);
const QDate kDayB(2010, 6, 11);

void BM_DateChange_SameMonth(benchmark::State& state)
{
    const QString& data = historyFolder();
    QTemporaryDir settings;
    TMainForm form(envFor(settings.path(), data, kDayA));
    waitExposed(form);
    const int before = messages().shown();
    bool toB = true;
    for (auto _ : state) {
        form.MonthCal->setSelectedDate(toB ? kDayB : kDayA);
        form.MonthCalClick();
        toB = !toB;
    }
    if (messages().shown() != before || form.Memo7->toPlainText().isEmpty() == (form.selectedDate() == kDayA))
        state.SkipWithError("the date change did not load the pages it should");
}
BENCHMARK(BM_DateChange_SameMonth)->Unit(benchmark::kMicrosecond);

// The file-system calls of that date change and nothing else. It saves the pages it leaves
// (unmodified pages are not written; an empty day page is deleted, which finds no file), loads
// the five pages of the new day (each a stat, and a read when the file exists), and the grid's
// move to the new day's row runs it once more for the same day.
template <typename Path> struct PageSet {
    std::vector<Path> pages;      // 日誌, 予定, ToDo, メモ, 記念日
    std::vector<Path> emptyDated; // day pages without a file: the deletes of the save
};

std::string nativePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

template <typename Path>
PageSet<Path> pageSet(const QString& folder, QDate date, Path (*convert)(const QString&))
{
    const DayFilePaths day = DayFilePaths::forDate(folder, date);
    PageSet<Path> set;
    for (const QString& path : {day.diary, day.plan, DayFiles::joinPath(folder, DayFiles::kToDoName),
                                DayFiles::joinPath(folder, DayFiles::kMemoName), day.anniv})
        set.pages.push_back(convert(path));
    for (const QString& path : {day.diary, day.plan, day.anniv}) {
        if (!QFile::exists(path))
            set.emptyDated.push_back(convert(path));
    }
    return set;
}

void statOnly(const std::string& path)
{
    struct stat info {};
    benchmark::DoNotOptimize(::stat(path.c_str(), &info));
}

void statAndRead(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    std::string bytes(size_t(info.st_size), '\0');
    benchmark::DoNotOptimize(::read(fd, bytes.data(), bytes.size()));
    ::close(fd);
}

// The same calls through Qt's file classes, to tell Qt's share from the window's.
void statOnly(const QString& path)
{
    benchmark::DoNotOptimize(QFileInfo::exists(path));
}

void statAndRead(const QString& path)
{
    if (!QFileInfo::exists(path))
        return;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        benchmark::DoNotOptimize(file.readAll());
}

template <typename Path> void fileCallsOfDateChange(const PageSet<Path>& from, const PageSet<Path>& to)
{
    for (const PageSet<Path>* saved : {&from, &to}) { // the change, then its nested run on the same day
        for (const Path& path : saved->emptyDated)
            statOnly(path);
        for (const Path& path : to.pages)
            statAndRead(path);
    }
}

template <typename Path> void dateChangeFileCalls(benchmark::State& state, Path (*convert)(const QString&))
{
    const QString& data = historyFolder();
    const PageSet<Path> a = pageSet(data, kDayA, convert);
    const PageSet<Path> b = pageSet(data, kDayB, convert);
    bool toB = true;
    for (auto _ : state) {
        if (toB)
            fileCallsOfDateChange(a, b);
        else
            fileCallsOfDateChange(b, a);
        toB = !toB;
    }
}

void BM_DateChange_FileCalls_floor(benchmark::State& state)
{
    dateChangeFileCalls(state, &nativePath);
}
BENCHMARK(BM_DateChange_FileCalls_floor)->Unit(benchmark::kMicrosecond);

QString samePath(const QString& path)
{
    return path;
}

void BM_DateChange_QtFileCalls(benchmark::State& state)
{
    dateChangeFileCalls(state, &samePath);
}
BENCHMARK(BM_DateChange_QtFileCalls)->Unit(benchmark::kMicrosecond);

void BM_BoldDays_Month(benchmark::State& state)
{
    const QString& data = historyFolder();
    quint32 marked = 0;
    for (auto _ : state) {
        marked = BoldDays::forMonth(data, kDayA.year(), kDayA.month());
        benchmark::DoNotOptimize(marked);
    }
    if (marked == 0)
        state.SkipWithError("no bold day found");
}
BENCHMARK(BM_BoldDays_Month)->Unit(benchmark::kMicrosecond);

// The stats alone: three per day until the first file found, as the month's answer needs them.
void BM_BoldDays_Stats_floor(benchmark::State& state)
{
    const QString& data = historyFolder();
    std::vector<std::vector<std::string>> days;
    for (int d = 1; d <= kDayA.daysInMonth(); ++d) {
        const QDate date(kDayA.year(), kDayA.month(), d);
        days.push_back({});
        for (const QString& name :
             {DayFiles::annivFileName(date), DayFiles::diaryFileName(date), DayFiles::planFileName(date)})
            days.back().push_back(QFile::encodeName(DayFiles::joinPath(data, name)).toStdString());
    }
    for (auto _ : state) {
        quint32 marked = 0;
        for (size_t d = 0; d < days.size(); ++d) {
            for (const std::string& path : days[d]) {
                struct stat info {};
                if (::stat(path.c_str(), &info) == 0) {
                    marked |= 1u << d;
                    break;
                }
            }
        }
        benchmark::DoNotOptimize(marked);
    }
}
BENCHMARK(BM_BoldDays_Stats_floor)->Unit(benchmark::kMicrosecond);

// The table as usual, then each measurement against its floor and its target. The machine may
// be shared, so the CPU time's ratio is given next to the real time's, which decides.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    RatioReporter() : ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred)
                continue;
            const double scale = benchmark::GetTimeUnitMultiplier(run.time_unit);
            const Time time{run.GetAdjustedRealTime() / scale, run.GetAdjustedCPUTime() / scale};
            if (run.run_type == Run::RT_Iteration)
                m_runs[run.run_name.str()].push_back(time);
            else if (run.aggregate_name == "median")
                m_medians[run.run_name.str()] = time;
        }
    }

    void Finalize() override
    {
        ConsoleReporter::Finalize();
        std::printf("\nagainst the floors (median of the repetitions):\n");
        compare("BM_Startup_MainForm/empty_folder", "BM_Startup_BareWindow_floor", 1.5, 0);
        compare("BM_Startup_MainForm/used_folder", "BM_Startup_BareWindow_floor", 1.5, 0);
        compare("BM_Startup_MainFormWithDialogs/empty_folder", "BM_Startup_BareWindow_floor", 1.5, 0);
        compare("BM_Startup_MainFormWithDialogs/used_folder", "BM_Startup_BareWindow_floor", 1.5, 0);
        // The dialogs made at start against the window alone.
        compare("BM_Startup_MainFormWithDialogs/empty_folder", "BM_Startup_MainForm/empty_folder", 1.1, 0);
        compare("BM_Startup_MainFormWithDialogs/used_folder", "BM_Startup_MainForm/used_folder", 1.1, 0);
        // The same share measured alone, which a shared machine disturbs less.
        compare("BM_Startup_OptionDialogsOnly", "BM_Startup_MainForm/used_folder", 0.1, 0);
        compare("BM_DateChange_SameMonth", "BM_DateChange_FileCalls_floor", 3.0, 1e-3);
        compare("BM_DateChange_QtFileCalls", "BM_DateChange_FileCalls_floor", 0, 0);
        compare("BM_BoldDays_Month", "BM_BoldDays_Stats_floor", 0, 100e-6);
    }

private:
    struct Time {
        double real = -1; // seconds
        double cpu = -1;
    };

    Time median(const std::string& name) const
    {
        if (const auto found = m_medians.find(name); found != m_medians.end())
            return found->second;
        const auto found = m_runs.find(name);
        if (found == m_runs.end() || found->second.empty())
            return {};
        std::vector<Time> times = found->second;
        std::sort(times.begin(), times.end(), [](const Time& a, const Time& b) { return a.real < b.real; });
        return times[times.size() / 2];
    }

    // A zero target is no target.
    void compare(const char* name, const char* floor, double maxRatio, double maxSeconds) const
    {
        const Time value = median(name);
        const Time base = median(floor);
        if (value.real < 0 || base.real <= 0 || base.cpu <= 0)
            return;
        const double ratio = value.real / base.real;
        const bool ok = (maxRatio == 0 || ratio <= maxRatio) && (maxSeconds == 0 || value.real <= maxSeconds);
        std::printf("  %-44s %9.1f us  floor %9.1f us  ratio %5.2f  (cpu %5.2f)", name, value.real * 1e6,
                    base.real * 1e6, ratio, value.cpu / base.cpu);
        if (maxRatio > 0)
            std::printf("  target <= %.1fx", maxRatio);
        if (maxSeconds > 0)
            std::printf("  target <= %.0f us", maxSeconds * 1e6);
        std::printf("%s\n", maxRatio > 0 || maxSeconds > 0 ? (ok ? "  ok" : "  MISSED") : "");
    }

    std::map<std::string, std::vector<Time>> m_runs;
    std::map<std::string, Time> m_medians;
};

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
    qputenv("QT_QPA_PLATFORM", "offscreen");
    standardMessages = qInstallMessageHandler(quietOffscreenWarnings);
    QuavApplication app(argc, argv, &messages());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // One window of each kind first, so neither measurement pays for loading the fonts.
    {
        QTemporaryDir warm;
        TMainForm form(envFor(warm.path(), warm.path(), startDate()));
        waitExposed(form);
        auto bare = bareWindow();
        waitExposed(*bare);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
