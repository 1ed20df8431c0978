#pragma once

class ProfileBatch;

// The view's keys in section "M3Pos" of the settings file, in the order they are read and written.
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
    void read(const ProfileBatch& ini);
    void write(ProfileBatch& ini) const;
};
