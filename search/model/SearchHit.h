#pragma once

#include "search/model/SearchText.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// Where a hit was found.
enum class SearchPage { ToDo, Memo, Plan, Diary, Anniv, Grid };

struct SearchHit {
    SearchPage page = SearchPage::ToDo;
    // The day of a plan, diary or grid hit; for an anniversary the month and day in the year
    // the calendar showed when the search started; none for ToDo and メモ.
    QDate date;
    int column = 0;      // grid hits: the grid column, 1 for the first schedule column
    qsizetype start = 0; // the match in the page's or cell's text, lines ending in LF
    qsizetype length = 0;
    QString pageName; // 日誌, 予定, 記念日, ToDo, メモ or the grid column's caption
    QString copyName; // the sync tool's conflict copy the hit is in; empty for the data file
    QString context;  // one line around the match
    qsizetype contextStart = 0;
    qsizetype contextLength = 0;
};

// Newest first: ToDo and メモ (always current) lead, then by date from the newest, then the
// pages in tab order and the grid columns, the data file before its copies, then by position.
bool newerFirst(const SearchHit& a, const SearchHit& b);

// "2019年5月3日(金)" for a dated hit, empty for ToDo and メモ.
QString hitDateText(const SearchHit& hit);
// The page's name, marked "（競合コピー）" for a hit in a conflict copy.
QString hitPageText(const SearchHit& hit);

// What to search: the data folder, and the texts on screen that win over their files.
struct SearchRequest {
    QString folder;
    QString query;
    SearchOptions options;
    int annivYear = 2000; // the year anniversaries are shown in
    QStringList columnCaptions;
    QList<std::pair<QString, QString>> pageTexts; // file path and the page's text on screen
    QString gridPath;                             // the month file the grid on screen belongs to
    QList<QStringList> gridRows;                  // its cells, row 0 the captions
    int maxHits = 5000;
};
