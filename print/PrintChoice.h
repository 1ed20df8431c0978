#pragma once

#include <QDate>
#include <QPageLayout>
#include <QPageSize>
#include <QString>

// What the user chose to print or export, and where to.
struct PrintChoice {
    enum class Content { Month, Period, ToDo, Memo };
    enum class Output { Printer, Preview, Pdf, Text };

    Content content = Content::Month;
    Output output = Output::Printer;
    QDate from; // the period of Content::Period, both days included
    QDate to;
    QPageSize::PageSizeId paper = QPageSize::A4;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QString file; // for Pdf and Text
};
