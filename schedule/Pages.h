#pragma once

#include "schedule/DataFileNames.h"

#include <QDate>
#include <QString>
#include <QStringView>

#include <array>
#include <optional>

// The five memo pages: what each is, in one table. Everything that knows a page by its tab
// index asks here.
namespace Pages {

inline constexpr int kCount = 5;

// How a page's label names the date it belongs to.
enum class LabelDate {
    None,     // ToDo
    Day,      // 2001年02月03日の予定
    MonthDay, // 02月03日の記念日: the same file in every year
};

struct Page {
    int tab;                  // its index among the tabs
    QStringView caption;      // the tab's text; also the page's name in search results
    QStringView editorName;   // its editor's object name in the window layout
    DataFileNames::Kind kind; // its data file; also what the search reports its hits as
    bool dated;               // its file changes with the selected date
    int order;                // its place when the pages are loaded and saved
    LabelDate labelDate;
};

// By tab index.
const std::array<Page, kCount>& all();
const Page& at(int index);
// Tab indexes in the order the pages are loaded and saved: 日誌, 予定, ToDo, メモ, 記念日.
const std::array<int, kCount>& fileOrder();
// The page whose file is of `kind`; none for the month file.
std::optional<int> indexOf(DataFileNames::Kind kind);
// The page's file name for `date`; ToDo and メモ ignore the date.
QString fileName(int index, QDate date);
// The page as journal entries and messages name it, for the date shown.
QString label(int index, QDate date);

} // namespace Pages
