// The three-month view's refresh against its floor: reading and decoding the same three month
// files into grid models, with nothing drawn. Both run in a data folder of 30 years of months.
// The line after the table gives the ratio.
#include "SilentMessages.h"
#include "app/QuavApplication.h"
#include "controls/jvStringGrid.h"
#include "controls/model/GridModel.h"
#include "mainwindow/MonthCalendar.h"
#include "schedule/DataFileNames.h"
#include "schedule/DayFiles.h"
#include "schedule/DayTexts.h"
#include "mainwindow/schedule.h"
#include "monthview/SomeMonthViewUnit.h"
#include "platform/AnsiText.h"
#include "platform/MessageService.h"

#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr int kFirstYear = 1990;
constexpr int kYears = 30;
const QDate kSelected(2005, 6, 15);

// Thirty years of month files with a few schedules a week, as a long-time user's folder holds.
const QString& dataFolder()
{
    static QTemporaryDir dir;
    static const QString folder = [] {
        for (int y = kFirstYear; y < kFirstYear + kYears; ++y) {
            for (int m = 1; m <= 12; ++m) {
                const QDate first(y, m, 1);
                QString text = QStringLiteral(",予定1,予定2,予定3\r\n");
                for (int d = 1; d <= first.daysInMonth(); ++d) {
                    text += DayTexts::dayCaption(QDate(y, m, d)) + u',';
                    if (d % 2 == 0)
                        text += QStringLiteral("会議 10:00 第二会議室★");
                    text += u',';
                    if (d % 3 == 0)
                        text += QStringLiteral("歯医者");
                    text += QStringLiteral(",\r\n");
                }
                AnsiText::writeBytes(DayFiles::joinPath(dir.path(), DataFileNames::month(first)),
                                     AnsiText::encode(text));
            }
        }
        return dir.path() + u'/';
    }();
    return folder;
}

MainFormEnv env(const QString& settingsFolder)
{
    MainFormEnv e;
    e.iniPath = settingsFolder + QStringLiteral("/QuavScheduler.ini");
    e.defaultDataFolder = dataFolder();
    e.defaultEditorPath = QStringLiteral("/usr/bin/true");
    e.now = [] { return QDateTime(kSelected, QTime(9, 0)); };
    e.messages = &messages();
    return e;
}

void BM_RefreshMonths(benchmark::State& state)
{
    QTemporaryDir settings;
    TMainForm form(env(settings.path()));
    TSomeMonthViewForm view(form.monthViewSource(), messages());
    const int before = messages().shown;
    for (auto _ : state)
        view.RefreshMonths();
    if (messages().shown != before || view.MonthGrids[2]->RowCount() != 32)
        state.SkipWithError("the refresh did not fill the months");
}
BENCHMARK(BM_RefreshMonths)->Unit(benchmark::kMicrosecond);

void BM_ReadAndDecode_floor(benchmark::State& state)
{
    QString files[3];
    for (int k = 0; k < 3; ++k)
        files[k] = DayFiles::joinPath(dataFolder(), DataFileNames::month(kSelected.addMonths(k)));
    GridModel models[3];
    for (auto _ : state) {
        for (int k = 0; k < 3; ++k)
            models[k].loadFromBytes(AnsiText::readBytes(files[k]));
        benchmark::DoNotOptimize(models);
    }
}
BENCHMARK(BM_ReadAndDecode_floor)->Unit(benchmark::kMicrosecond);

// Prints the refresh's time as a multiple of its floor after the table.
class RatioReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred)
                m_times[run.benchmark_name()] = run.GetAdjustedRealTime();
        }
    }
    void Finalize() override
    {
        ConsoleReporter::Finalize();
        const auto refresh = m_times.find("BM_RefreshMonths");
        const auto floor = m_times.find("BM_ReadAndDecode_floor");
        if (refresh != m_times.end() && floor != m_times.end() && floor->second > 0)
            std::printf("refresh / floor: %.2f\n", refresh->second / floor->second);
    }

private:
    std::map<std::string, double> m_times;
};

QtMessageHandler standardMessages = nullptr;

void quietOffscreenWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("does not support propagateSizeHints")))
        return;
    if (standardMessages)
        standardMessages(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    standardMessages = qInstallMessageHandler(quietOffscreenWarnings);
    QuavApplication app(argc, argv, &messages());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    dataFolder();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
