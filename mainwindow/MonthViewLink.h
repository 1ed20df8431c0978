#pragma once

// The three-month view as the main window drives it. The view reads the main window, so it
// lives in a library above this one and is handed in once both exist.
class MonthViewLink {
public:
    virtual ~MonthViewLink() = default;
    // Refills all three months from the main window; throws when a month file cannot be read.
    virtual void RefreshMonths() = 0;
    // Makes the view visible, in front.
    virtual void ShowMonths() = 0;
};
