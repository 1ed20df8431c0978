#pragma once

#include "schedule/Markup.h"

#include <QList>
#include <QString>

class IniStore;

// The main window's own keys of "QuavScheduler.ini": the fields and their defaults; the keys
// and their order are the table in MainSettings.cpp.
struct MainSettings {
    int top = 0;
    int left = 0;
    int width = 617;
    int height = 461;
    int calWidth = 257;  // Panel2, the grid side
    int calHeight = 143; // the calendar
    int startWeek = 0;
    ColorRef satColor = Markup::kDefaultSatColor;
    ColorRef sunColor = Markup::kDefaultSunColor;
    MarkupTable markup = Markup::defaults();
    int charSet = 128;
    bool bold = false;
    bool italic = false;
    QString editorPath;
    QString dataFolder;
    QList<int> colWidths; // columns 0 to n of the grid
    int activePage = 0;
    // False where the window system cannot tell a window's place: Top and Left are then not
    // written, so the place stored on a desktop that can tell stays as it was.
    bool positionKnown = true;

    // Reads every key; the fields' present values are the defaults of missing or unreadable keys.
    // `columnCount` is the number of column captions n: ColWidth0 to ColWidthn are read.
    void read(const IniStore& ini, int columnCount);
    // Writes every key in table order, markup entries in turns and ActivePage last.
    void write(IniStore& ini) const;
};

// The names of the settings file's sections and of the keys read outside a settings object.
namespace SettingsKeys {
inline const QString kPos = QStringLiteral("Pos");
inline const QString kCal = QStringLiteral("Cal");
inline const QString kMemo = QStringLiteral("Memo");
inline const QString kData = QStringLiteral("Data");
inline const QString kSheet = QStringLiteral("Sheet");
// The three-month view's own section.
inline const QString kMonthView = QStringLiteral("M3Pos");
// Whether a window was ever placed: either of these present.
inline const QString kTop = QStringLiteral("Top");
inline const QString kLeft = QStringLiteral("Left");
// In "Cal": whether national holidays are shown; written only once the user chose.
inline const QString kHolidays = QStringLiteral("Holidays");
// The settings manager's items, each with the prefix of its keys.
inline const QString kMemoFontItem = QStringLiteral("MemoFont");
inline const QString kMemoFontPrefix = QStringLiteral("prop");
inline const QString kColumnsItem = QStringLiteral("SchItem");
inline const QString kColumnsPrefix = QStringLiteral("item");
constexpr int kDefaultColWidth = 50;
} // namespace SettingsKeys
