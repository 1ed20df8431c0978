#pragma once

class IniStore;

// The view's keys in section "M3Pos" of the settings file: the fields and their defaults; the
// keys and their order are the table in MonthViewSettings.cpp.
struct MonthViewSettings {
    int top = 140;
    int left = 207;
    int width = 695;
    int height = 480;
    int p1Width = 225;
    int p2Width = 225;
    // False where the window system cannot tell a window's place: Top and Left stay as stored.
    bool positionKnown = true;

    // The fields' present values are the defaults of missing or unreadable keys.
    void read(const IniStore& ini);
    void write(IniStore& ini) const;
};
