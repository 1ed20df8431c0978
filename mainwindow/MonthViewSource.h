#pragma once

#include "schedule/Markup.h"

#include <QDate>
#include <QIcon>
#include <QString>

class ProfileBatch;
class TjvStringGrid;

// What the three-month view reads of the main window, and nothing more: read-only, as the
// window holds it at the moment of the call.
class MonthViewSource {
public:
    using CellColours = Markup::CellColours;

    virtual QDate selectedDate() const = 0;
    virtual QString dataFolder() const = 0;
    virtual QString settingsPath() const = 0;
    // The settings file as read at start while that read still stands for it; else null.
    virtual const ProfileBatch* settingsReadAtStart() const = 0;
    virtual bool windowPositionsKnown() const = 0;
    virtual QIcon icon() const = 0;
    // The month grid: its font, columns, widths and captions are the view's too.
    virtual const TjvStringGrid& scheduleGrid() const = 0;
    // The markup rule's inputs as the main window holds them now.
    virtual CellColours cellColours() const = 0;

protected:
    ~MonthViewSource() = default;
};
