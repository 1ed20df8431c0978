#include "print/PrintPages.h"

#include "print/MonthSheetPrint.h"
#include "print/PrintFonts.h"
#include "print/TextFlow.h"
#include "print/model/TextExport.h"
#include "schedule/DataFileNames.h"
#include "schedule/DayTexts.h"

#include <QMarginsF>
#include <QPainter>
#include <QPrinter>

namespace PrintPages {

void setUpPage(QPrinter& printer, const PrintChoice& choice)
{
    printer.setPageLayout(QPageLayout(QPageSize(choice.paper), choice.orientation, QMarginsF(15, 15, 15, 15),
                                      QPageLayout::Millimeter));
}

QString periodTitle(QDate from, QDate to)
{
    return QStringLiteral("日誌・予定 %1～%2").arg(DayTexts::statusDate(from), DayTexts::statusDate(to));
}

QString contentName(PrintChoice::Content content)
{
    switch (content) {
    case PrintChoice::Content::Month:
        return QStringLiteral("月間予定表");
    case PrintChoice::Content::Period:
        return QStringLiteral("日誌・予定");
    case PrintChoice::Content::ToDo:
        return QStringLiteral("ToDo");
    case PrintChoice::Content::Memo:
        return QStringLiteral("メモ");
    }
    return {};
}

namespace {

// Reading the days is the first half of the work, painting them the second.
Outcome paintPeriod(QPainter& painter, QPrinter& printer, const PrintSource& source,
                    const PrintChoice& choice, const Progress& goOn)
{
    const QList<PeriodDays::Day> days =
        PeriodDays::collect(source.dataFolder(), choice.from, choice.to, source.screenTexts(),
                            [&](qsizetype done, qsizetype total) { return !goOn || goOn(done, total * 2); });
    if (goOn && !goOn(1, 2))
        return Outcome::Cancelled;
    TextFlow flow(painter, printer, PrintFonts::forPage(source.memoFont()));
    flow.heading(periodTitle(choice.from, choice.to));
    if (days.isEmpty())
        flow.paragraphs(QStringLiteral("この期間に日誌・予定・記念日はありません。"));
    const qsizetype total = days.size() * 2;
    for (qsizetype i = 0; i < days.size(); ++i) {
        if (goOn && (i % 16) == 0 && !goOn(days.size() + i, total))
            return Outcome::Cancelled;
        const PeriodDays::Day& day = days[i];
        flow.heading(PeriodDays::heading(day.date));
        const std::pair<QString, const QString*> sections[] = {{TextExport::planCaption(), &day.plan},
                                                               {TextExport::diaryCaption(), &day.diary},
                                                               {TextExport::annivCaption(), &day.anniv}};
        for (const auto& [caption, text] : sections) {
            if (text->isEmpty())
                continue;
            flow.caption(caption);
            flow.paragraphs(*text);
        }
    }
    return flow.finish() ? Outcome::Done : Outcome::Failed;
}

Outcome paintPage(QPainter& painter, QPrinter& printer, const PrintSource& source,
                  PrintChoice::Content content)
{
    const QString name = content == PrintChoice::Content::ToDo ? DataFileNames::kToDo : DataFileNames::kMemo;
    TextFlow flow(painter, printer, PrintFonts::forPage(source.memoFont()));
    flow.heading(contentName(content));
    flow.paragraphs(PeriodDays::text(source.dataFolder(), name, source.screenTexts()));
    return flow.finish() ? Outcome::Done : Outcome::Failed;
}

} // namespace

Outcome paint(QPrinter& printer, const PrintSource& source, const PrintChoice& choice, const Progress& goOn)
{
    QPainter painter;
    if (!painter.begin(&printer))
        return Outcome::Failed;
    Outcome outcome = Outcome::Failed;
    switch (choice.content) {
    case PrintChoice::Content::Month:
        outcome =
            MonthSheetPrint::paint(painter, printer, source.monthSheet()) ? Outcome::Done : Outcome::Failed;
        break;
    case PrintChoice::Content::Period:
        outcome = paintPeriod(painter, printer, source, choice, goOn);
        break;
    case PrintChoice::Content::ToDo:
    case PrintChoice::Content::Memo:
        outcome = paintPage(painter, printer, source, choice.content);
        break;
    }
    if (outcome == Outcome::Cancelled)
        printer.abort();
    if (!painter.end() && outcome == Outcome::Done)
        outcome = Outcome::Failed;
    return outcome;
}

} // namespace PrintPages
