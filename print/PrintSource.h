#pragma once

#include "print/model/PeriodDays.h"
#include "schedule/Markup.h"

#include <QDate>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

// The month grid as shown: cells, widths in screen pixels, font and the colour rule's inputs.
struct MonthSheet {
    QDate month;             // any day of the month shown
    QList<QStringList> rows; // row 0 the column captions, then one per day; column 0 the day captions
    QList<int> colWidths;
    int rowHeight = 16;
    QFont font;
    ColorRef saturday = Markup::kDefaultSatColor;
    ColorRef sunday = Markup::kDefaultSunColor;
    MarkupTable markup = Markup::defaults();
    bool holidays = false;
};

// What printing reads of the main window, and nothing more: read-only, as the window holds it
// at the moment of the call, typed text included.
class PrintSource {
public:
    virtual QDate shownDate() const = 0;
    virtual QString dataFolder() const = 0;
    // The pages' texts on screen by file name, for the files they show.
    virtual PeriodDays::ScreenTexts screenTexts() const = 0;
    virtual MonthSheet monthSheet() const = 0;
    virtual QFont memoFont() const = 0;

protected:
    ~PrintSource() = default;
};
