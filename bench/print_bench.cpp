// Printing to PDF: the diary, plans and anniversaries of a 30-year folder (make_data_folder.py,
// about 11,000 page files; QUAV_PRINT_DATA names another) against QTextDocument::print of the
// same text already in memory (target: at most 1.5 times as long); and the preview of a month up
// to its pages ready to show (target: 300 ms).
#include "RatioReporter.h"
#include "print/PrintPages.h"
#include "print/model/PeriodDays.h"
#include "print/model/TextExport.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace Qt::Literals::StringLiterals;

namespace {

struct Data {
    std::unique_ptr<QTemporaryDir> temp;
    QString folder;
};

const Data& data()
{
    static const Data d = [] {
        Data made;
        made.temp = std::make_unique<QTemporaryDir>();
        const QByteArray given = qgetenv("QUAV_PRINT_DATA");
        if (!given.isEmpty()) {
            made.folder = QString::fromLocal8Bit(given) + u'/';
        } else {
            made.folder = made.temp->filePath(u"data"_s) + u'/';
            if (QProcess::execute(u"/usr/bin/python3"_s,
                                  {QStringLiteral(QUAV_MAKE_DATA_FOLDER), made.folder}) != 0) {
                std::fprintf(stderr, "make_data_folder.py failed\n");
                std::exit(1);
            }
        }
        return made;
    }();
    return d;
}

const QDate kFrom(1996, 1, 1);
const QDate kTo(2025, 12, 31);

QFont memoFont()
{
    QFont font(u"Noto Sans Mono CJK JP"_s);
    font.setPixelSize(12);
    return font;
}

struct Source final : PrintSource {
    QDate shownDate() const override { return QDate(2025, 6, 1); }
    QString dataFolder() const override { return data().folder; }
    PeriodDays::ScreenTexts screenTexts() const override { return {}; }
    MonthSheet monthSheet() const override
    {
        MonthSheet sheet;
        sheet.month = QDate(2025, 6, 1);
        sheet.rows.append({QString(), u"予定1"_s, u"予定2"_s, u"予定3"_s});
        for (int d = 1; d <= 30; ++d)
            sheet.rows.append({QString::number(d) + u"日"_s, u"会議★"_s, u"打ち合わせ"_s, QString()});
        sheet.colWidths = {50, 120, 120, 120};
        sheet.font = memoFont();
        return sheet;
    }
    QFont memoFont() const override { return ::memoFont(); }
};

std::unique_ptr<QPrinter> pdfPrinter(const QString& file)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(file);
    PrintChoice choice;
    PrintPages::setUpPage(*printer, choice);
    return printer;
}

void BM_PeriodPdf(benchmark::State& state)
{
    const Source source;
    PrintChoice choice;
    choice.content = PrintChoice::Content::Period;
    choice.from = kFrom;
    choice.to = kTo;
    QTemporaryDir out;
    for (auto _ : state) {
        auto printer = pdfPrinter(out.filePath(u"period.pdf"_s));
        if (PrintPages::paint(*printer, source, choice) != PrintPages::Outcome::Done)
            state.SkipWithError("painting failed");
    }
    state.counters["MB"] = double(QFileInfo(out.filePath(u"period.pdf"_s)).size()) / 1e6;
}
BENCHMARK(BM_PeriodPdf)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_TextDocumentPdf_floor(benchmark::State& state)
{
    const QString text =
        QString::fromUtf8(TextExport::period(PeriodDays::collect(data().folder, kFrom, kTo, {})));
    QTemporaryDir out;
    for (auto _ : state) {
        auto printer = pdfPrinter(out.filePath(u"floor.pdf"_s));
        QTextDocument document;
        document.setDefaultFont(memoFont());
        document.setPlainText(text);
        document.print(printer.get());
    }
    state.counters["MB"] = double(QFileInfo(out.filePath(u"floor.pdf"_s)).size()) / 1e6;
}
BENCHMARK(BM_TextDocumentPdf_floor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// From the request to the preview's pages being ready to show.
void BM_MonthPreview(benchmark::State& state)
{
    const Source source;
    PrintChoice choice;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        PrintPages::setUpPage(printer, choice);
        QPrintPreviewWidget preview(&printer);
        QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                         [&](QPrinter* shown) { PrintPages::paint(*shown, source, choice); });
        preview.resize(800, 1000);
        preview.show();
        preview.updatePreview();
        QCoreApplication::processEvents();
        if (preview.pageCount() < 1)
            state.SkipWithError("no page");
    }
}
BENCHMARK(BM_MonthPreview)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

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
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    data();
    RatioReporter reporter(
        {{"BM_PeriodPdf/iterations:3/real_time", "BM_TextDocumentPdf_floor/iterations:3/real_time", 1.5}});
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
