#include "print/MonthSheetPrint.h"
#include "print/PrintJob.h"
#include "print/PrintSource.h"

#include "PdfTools.h"
#include "schedule/PageFile.h"
#include "support/RecordingMessageService.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QApplication>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct FakeSource final : PrintSource {
    QDate shown{2001, 2, 3};
    QString folder;
    PeriodDays::ScreenTexts screen;
    MonthSheet sheet;
    QFont font{QStringLiteral("Noto Sans Mono CJK JP"), 10};

    QDate shownDate() const override { return shown; }
    QString dataFolder() const override { return folder; }
    PeriodDays::ScreenTexts screenTexts() const override { return screen; }
    MonthSheet monthSheet() const override { return sheet; }
    QFont memoFont() const override { return font; }
};

// February 2001 as the grid shows it: 1日(木) to 28日(水), three columns.
MonthSheet february()
{
    MonthSheet sheet;
    sheet.month = QDate(2001, 2, 1);
    sheet.rows.append({QString(), QStringLiteral("予定1"), QStringLiteral("予定2"), QStringLiteral("予定3")});
    for (int d = 1; d <= 28; ++d) {
        const QDate day(2001, 2, d);
        const QString caption = QString::number(d) + QStringLiteral("日(") +
                                QString(QChar(u"月火水木金土日"[day.dayOfWeek() - 1])) + u')';
        sheet.rows.append({caption, QString(), QString(), QString()});
    }
    sheet.rows[6][1] = QStringLiteral("会議★");      // Tuesday the 6th: markup entry 0
    sheet.rows[4][2] = QStringLiteral("日曜の予定"); // Sunday the 4th
    sheet.colWidths = {60, 120, 120, 120};
    sheet.font = QFont(QStringLiteral("Noto Sans CJK JP"));
    sheet.font.setPixelSize(12);
    return sheet;
}

// QUAV_PRINT_SAMPLES=<folder> keeps the PDFs made here, to look at them (README's picture).
void keepSample(const QString& pdf)
{
    const QString folder = qEnvironmentVariable("QUAV_PRINT_SAMPLES");
    if (!folder.isEmpty()) {
        const QString copy = QDir(folder).filePath(QFileInfo(pdf).fileName());
        QFile::remove(copy);
        QFile::copy(pdf, copy);
    }
}

class PrintExportTest : public ::testing::Test {
protected:
    TempFolder data;
    TempFolder out;
    FakeSource source;
    RecordingMessageService messages;

    void SetUp() override
    {
        source.folder = data.path() + u'/';
        source.sheet = february();
    }

    void page(const QString& name, const QString& text) const { PageFile::write(data.file(name), text); }

    PrintChoice choice(PrintChoice::Content content, PrintChoice::Output output, const QString& file) const
    {
        PrintChoice c;
        c.content = content;
        c.output = output;
        c.from = QDate(2001, 2, 1);
        c.to = QDate(2001, 2, 28);
        c.file = file;
        return c;
    }

    bool exportTo(
        const PrintChoice& c,
        const PrintPages::Progress& progress = [](qsizetype, qsizetype) { return true; })
    {
        PrintJob job(source, messages, nullptr);
        job.progress = progress;
        return job.run(c);
    }
};

TEST_F(PrintExportTest, PeriodPdfHoldsEveryDaysTextAndHeadings)
{
    REQUIRE_PDF_TOOLS();
    page(QStringLiteral("20010203.txt"), QStringLiteral("港で日記を書いた\r\n二行目の文"));
    page(QStringLiteral("Sch20010211.txt"), QStringLiteral("祝日の予定 lunch"));
    page(QStringLiteral("Anniv0220.txt"), QStringLiteral("結婚記念日"));
    page(QStringLiteral("20010225.txt"), QStringLiteral(" \r\n")); // blank: left out
    source.screen.insert(QStringLiteral("20010203.txt"),
                         QStringLiteral("港で日記を書いた\n二行目の文\n未保存の行"));

    const QString pdf = out.file(QStringLiteral("period"));
    ASSERT_TRUE(exportTo(choice(PrintChoice::Content::Period, PrintChoice::Output::Pdf, pdf)));
    EXPECT_TRUE(messages.shown().isEmpty());
    ASSERT_TRUE(QFileInfo::exists(pdf + QStringLiteral(".pdf"))) << "the suffix is added";
    keepSample(pdf + QStringLiteral(".pdf"));

    const QString text = PdfTools::text(pdf + QStringLiteral(".pdf"));
    for (const char* expected :
         {"2001年02月01日", "2001年02月28日", "2001年02月03日(土)", "港で日記を書いた", "二行目の文",
          "未保存の行", "2001年02月11日(日) 建国記念の日", "祝日の予定 lunch", "2001年02月20日(火)",
          "結婚記念日", "【日誌】", "【予定】", "【記念日】"})
        EXPECT_TRUE(PdfTools::has(text, QString::fromUtf8(expected))) << expected << "\n"
                                                                      << text.toStdString();
    EXPECT_FALSE(PdfTools::has(text, QStringLiteral("2001年02月25日")));
    EXPECT_EQ(PdfTools::pageCount(pdf + QStringLiteral(".pdf")), 1);
    // Every font is in the file, so the Japanese shows on any machine.
    const QString fonts = PdfTools::fonts(pdf + QStringLiteral(".pdf"));
    const QStringList lines = fonts.split(u'\n', Qt::SkipEmptyParts).mid(2);
    ASSERT_FALSE(lines.isEmpty()) << fonts.toStdString();
    for (const QString& line : lines)
        EXPECT_TRUE(line.contains(QStringLiteral(" yes "))) << line.toStdString();
}

TEST_F(PrintExportTest, LongPeriodRunsOverPagesWithNothingLost)
{
    REQUIRE_PDF_TOOLS();
    QStringList expected;
    for (int d = 1; d <= 28; ++d) {
        QString body;
        for (int line = 0; line < 6; ++line)
            body += QStringLiteral("第%1日の%2行目\r\n").arg(d).arg(line);
        page(QStringLiteral("200102%1.txt").arg(d, 2, 10, QLatin1Char('0')), body);
        expected << QStringLiteral("第%1日の5行目").arg(d);
    }
    const QString pdf = out.file(QStringLiteral("long.pdf"));
    ASSERT_TRUE(exportTo(choice(PrintChoice::Content::Period, PrintChoice::Output::Pdf, pdf)));
    keepSample(pdf);
    const int pages = PdfTools::pageCount(pdf);
    EXPECT_GE(pages, 3);
    const QString text = PdfTools::text(pdf);
    for (const QString& line : expected)
        EXPECT_TRUE(PdfTools::has(text, line)) << line.toStdString();
    // Numbered at the foot of each page; no page ends on a heading or a caption, which go with
    // the text below them.
    const QRegularExpression heading(QStringLiteral("^\\d{4}年\\d{2}月\\d{2}日\\(.\\)|^【"));
    for (int p = 1; p <= pages; ++p) {
        QStringList lines = PdfTools::text(pdf, p).split(u'\n', Qt::SkipEmptyParts);
        lines.removeIf(
            [](const QString& line) { return line.trimmed().isEmpty() || line.startsWith(u'\f'); });
        ASSERT_GE(lines.size(), 2) << "page " << p;
        EXPECT_EQ(lines.last().trimmed(), QStringLiteral("- %1 -").arg(p));
        EXPECT_FALSE(heading.match(lines[lines.size() - 2]).hasMatch())
            << "page " << p << " ends on " << lines[lines.size() - 2].toStdString();
    }
}

TEST_F(PrintExportTest, MonthPdfShowsSundayAndMarkupColours)
{
    REQUIRE_PDF_TOOLS();
    const QString pdf = out.file(QStringLiteral("month.pdf"));
    ASSERT_TRUE(exportTo(choice(PrintChoice::Content::Month, PrintChoice::Output::Pdf, pdf)));
    keepSample(pdf);
    EXPECT_EQ(PdfTools::pageCount(pdf), 1);
    const QString text = PdfTools::text(pdf);
    for (const char* expected :
         {"2001年 2月", "予定1", "予定3", "4日(日)", "28日(水)", "会議★", "日曜の予定"})
        EXPECT_TRUE(PdfTools::has(text, QString::fromUtf8(expected))) << expected;

    // Where the cells lie on the page, from the same layout the printing used.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    PrintChoice c = choice(PrintChoice::Content::Month, PrintChoice::Output::Pdf, pdf);
    PrintPages::setUpPage(printer, c);
    const MonthSheetPrint::Layout lay = MonthSheetPrint::layout(source.sheet, printer);
    const int dpi = 72;
    const qreal toImage = qreal(dpi) / printer.resolution();
    const QPointF origin = printer.pageLayout().paintRectPixels(printer.resolution()).topLeft();
    auto pixel = [&](const QImage& image, int col, int row) {
        qreal x = origin.x();
        for (int c2 = 0; c2 <= col; ++c2)
            x += lay.colWidths[c2];
        x -= 4 / toImage; // near the right edge, clear of the text
        const qreal y = origin.y() + lay.titleHeight + lay.rowHeight * (row + 0.5);
        return image.pixelColor(int(x * toImage), int(y * toImage));
    };
    const QImage image = PdfTools::render(pdf, 1, dpi);
    ASSERT_FALSE(image.isNull());
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) <= 6 && std::abs(a.green() - b.green()) <= 6 &&
               std::abs(a.blue() - b.blue()) <= 6;
    };
    const QColor sunday(255, 208, 208), markup(115, 222, 84), saturday(220, 216, 253);
    EXPECT_TRUE(near(pixel(image, 3, 4), sunday)) << pixel(image, 3, 4).name().toStdString();
    EXPECT_TRUE(near(pixel(image, 1, 6), markup)) << pixel(image, 1, 6).name().toStdString();
    EXPECT_TRUE(near(pixel(image, 2, 3), saturday)) << pixel(image, 2, 3).name().toStdString();
    EXPECT_TRUE(near(pixel(image, 2, 6), Qt::white)) << pixel(image, 2, 6).name().toStdString();
}

TEST_F(PrintExportTest, MonthFitsThePageWidthAndRepeatsCaptionsOnEachPage)
{
    REQUIRE_PDF_TOOLS();
    source.sheet.font.setPixelSize(40); // rows too tall for one page
    const QString pdf = out.file(QStringLiteral("tall.pdf"));
    PrintChoice c = choice(PrintChoice::Content::Month, PrintChoice::Output::Pdf, pdf);
    c.paper = QPageSize::Letter;
    c.orientation = QPageLayout::Landscape;
    ASSERT_TRUE(exportTo(c));
    const int pages = PdfTools::pageCount(pdf);
    ASSERT_GE(pages, 2);
    for (int p = 1; p <= pages; ++p)
        EXPECT_TRUE(PdfTools::has(PdfTools::text(pdf, p), QStringLiteral("予定2"))) << "page " << p;
    EXPECT_TRUE(PdfTools::has(PdfTools::text(pdf, pages), QStringLiteral("28日(水)")));

    QPrinter printer(QPrinter::HighResolution);
    PrintPages::setUpPage(printer, c);
    const MonthSheetPrint::Layout lay = MonthSheetPrint::layout(source.sheet, printer);
    qreal width = 0;
    for (qreal w : lay.colWidths)
        width += w;
    EXPECT_NEAR(width, printer.pageLayout().paintRectPixels(printer.resolution()).width(), 1.0);
    // Landscape Letter: wider than high.
    const QImage image = PdfTools::render(pdf, 1, 20);
    EXPECT_GT(image.width(), image.height());
}

TEST_F(PrintExportTest, WideGridShrinksToThePage)
{
    source.sheet.colWidths = {60, 900, 900, 900};
    QPrinter printer(QPrinter::HighResolution);
    PrintPages::setUpPage(printer, choice(PrintChoice::Content::Month, PrintChoice::Output::Pdf, {}));
    const MonthSheetPrint::Layout lay = MonthSheetPrint::layout(source.sheet, printer);
    EXPECT_LT(lay.fontScale, 1.0);
    EXPECT_NEAR(lay.colWidths[1] / lay.colWidths[0], 15.0, 0.01);
}

TEST_F(PrintExportTest, ToDoAndMemoPrintTheirPages)
{
    REQUIRE_PDF_TOOLS();
    page(QStringLiteral("ToDo.txt"), QStringLiteral("牛乳を買う"));
    page(QStringLiteral("Memo.txt"), QStringLiteral("保存されたメモ"));
    source.screen.insert(QStringLiteral("Memo.txt"), QStringLiteral("画面のメモ"));
    const QString todo = out.file(QStringLiteral("todo.pdf"));
    const QString memo = out.file(QStringLiteral("memo.pdf"));
    ASSERT_TRUE(exportTo(choice(PrintChoice::Content::ToDo, PrintChoice::Output::Pdf, todo)));
    ASSERT_TRUE(exportTo(choice(PrintChoice::Content::Memo, PrintChoice::Output::Pdf, memo)));
    EXPECT_TRUE(PdfTools::has(PdfTools::text(todo), QStringLiteral("牛乳を買う")));
    EXPECT_TRUE(PdfTools::has(PdfTools::text(memo), QStringLiteral("画面のメモ")));
    EXPECT_FALSE(PdfTools::has(PdfTools::text(memo), QStringLiteral("保存されたメモ")));
}

TEST_F(PrintExportTest, TextExportOfAPeriod)
{
    page(QStringLiteral("20010203.txt"), QStringLiteral("日記\r\n"));
    page(QStringLiteral("Sch20010204.txt"), QStringLiteral("予定"));
    const QString file = out.file(QStringLiteral("period.TXT"));
    ASSERT_TRUE(exportTo(choice(PrintChoice::Content::Period, PrintChoice::Output::Text, file)));
    EXPECT_EQ(
        QString::fromUtf8(out.read(QStringLiteral("period.TXT"))),
        QStringLiteral("■ 2001年02月03日(土)\n【日誌】\n日記\n\n■ 2001年02月04日(日)\n【予定】\n予定\n"));
    EXPECT_FALSE(out.exists(QStringLiteral("period.TXT.txt")));
}

TEST_F(PrintExportTest, FailuresAreToldAndLeaveNoFile)
{
    page(QStringLiteral("20010203.txt"), QStringLiteral("日記"));
    out.write(QStringLiteral("plain"), "a file, not a folder");
    for (PrintChoice::Output output : {PrintChoice::Output::Pdf, PrintChoice::Output::Text}) {
        messages.clear();
        const QString bad = out.file(QStringLiteral("plain/export"));
        EXPECT_FALSE(exportTo(choice(PrintChoice::Content::Period, output, bad)));
        ASSERT_EQ(messages.shown().size(), 1);
        EXPECT_TRUE(messages.shown()[0].text.contains(QStringLiteral("書き出せませんでした")))
            << messages.shown()[0].text.toStdString();
        EXPECT_EQ(messages.shown()[0].icon, MessageService::Icon::Error);
    }
    // A folder in the file's place is never written over.
    QDir(out.path()).mkdir(QStringLiteral("taken.pdf"));
    messages.clear();
    EXPECT_FALSE(exportTo(choice(PrintChoice::Content::Month, PrintChoice::Output::Pdf,
                                 out.file(QStringLiteral("taken.pdf")))));
    EXPECT_EQ(messages.shown().size(), 1);
    EXPECT_TRUE(QFileInfo(out.file(QStringLiteral("taken.pdf"))).isDir());
}

TEST_F(PrintExportTest, CancelledRunKeepsTheOldFile)
{
    for (int d = 1; d <= 28; ++d)
        page(QStringLiteral("200102%1.txt").arg(d, 2, 10, QLatin1Char('0')), QStringLiteral("日記"));
    out.write(QStringLiteral("old.pdf"), "old bytes");
    out.write(QStringLiteral("old.txt"), "old text");
    int calls = 0;
    auto cancelSoon = [&](qsizetype, qsizetype) { return ++calls < 2; };
    EXPECT_FALSE(exportTo(
        choice(PrintChoice::Content::Period, PrintChoice::Output::Pdf, out.file(QStringLiteral("old.pdf"))),
        cancelSoon));
    EXPECT_EQ(out.read(QStringLiteral("old.pdf")), QByteArray("old bytes"));
    calls = 0;
    EXPECT_FALSE(exportTo(
        choice(PrintChoice::Content::Period, PrintChoice::Output::Text, out.file(QStringLiteral("old.txt"))),
        cancelSoon));
    EXPECT_EQ(out.read(QStringLiteral("old.txt")), QByteArray("old text"));
    EXPECT_TRUE(messages.shown().isEmpty()) << "a cancel is no failure";
    // Nothing left beside it either.
    EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(PrintExportTest, PreviewShowsThePagesOfTheChoice)
{
    for (int d = 1; d <= 28; ++d)
        page(QStringLiteral("200102%1.txt").arg(d, 2, 10, QLatin1Char('0')),
             QStringLiteral("一行目\r\n二行目\r\n三行目\r\n四行目\r\n五行目\r\n六行目\r\n"));
    // Looked at as soon as the preview is up, then closed as the user would.
    auto pagesShown = [&](PrintChoice::Content content) {
        int pages = -1;
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            pages = dialog->findChild<QPrintPreviewWidget*>()->pageCount();
            dialog->reject();
        });
        poll.start();
        PrintJob job(source, messages, nullptr);
        job.progress = [](qsizetype, qsizetype) { return true; };
        EXPECT_TRUE(job.run(choice(content, PrintChoice::Output::Preview, {})));
        return pages;
    };
    EXPECT_EQ(pagesShown(PrintChoice::Content::Month), 1);
    EXPECT_GE(pagesShown(PrintChoice::Content::Period), 3);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(PrintExportTest, JapaneseInALatinFontFallsBackToAJapaneseFont)
{
    REQUIRE_PDF_TOOLS();
    source.font = QFont(QStringLiteral("DejaVu Sans"), 10);
    source.sheet.font = QFont(QStringLiteral("DejaVu Sans"), 9);
    page(QStringLiteral("20010203.txt"), QStringLiteral("直角の角と骨 Latin"));
    const QString period = out.file(QStringLiteral("latin.pdf"));
    const QString month = out.file(QStringLiteral("latin-month.pdf"));
    ASSERT_TRUE(exportTo(choice(PrintChoice::Content::Period, PrintChoice::Output::Pdf, period)));
    ASSERT_TRUE(exportTo(choice(PrintChoice::Content::Month, PrintChoice::Output::Pdf, month)));
    EXPECT_TRUE(PdfTools::has(PdfTools::text(period), QStringLiteral("直角の角と骨 Latin")));
    EXPECT_TRUE(PdfTools::has(PdfTools::text(month), QStringLiteral("日曜の予定")));
    for (const QString& pdf : {period, month}) {
        const QString fonts = PdfTools::fonts(pdf);
        EXPECT_TRUE(fonts.contains(QStringLiteral("CJKjp"))) << fonts.toStdString();
    }
}

TEST(PrintJobSuffix, AddedOnlyWhenMissing)
{
    EXPECT_EQ(PrintJob::withSuffix(QStringLiteral("/t/a"), QStringLiteral(".pdf")),
              QStringLiteral("/t/a.pdf"));
    EXPECT_EQ(PrintJob::withSuffix(QStringLiteral("/t/a.PDF"), QStringLiteral(".pdf")),
              QStringLiteral("/t/a.PDF"));
    EXPECT_EQ(PrintJob::withSuffix(QStringLiteral("/t/a.txt"), QStringLiteral(".pdf")),
              QStringLiteral("/t/a.txt.pdf"));
}

} // namespace
