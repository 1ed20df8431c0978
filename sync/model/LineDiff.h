#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

// Which lines two texts share and which only one of them has, in the order of both texts.
namespace LineDiff {

enum class Side {
    Both,   // in both texts
    First,  // only in the first text
    Second, // only in the second text
};

struct Line {
    Side side = Side::Both;
    QString text;
    qsizetype first = -1;  // its index in the first text's lines; -1 when only in the second
    qsizetype second = -1; // its index in the second text's lines; -1 when only in the first
    friend bool operator==(const Line&, const Line&) = default;
};

// A text's lines without their breaks. CR LF, a lone CR and a lone LF each end a line; a break
// at the very end ends the last line and starts none. An empty text has no lines.
QStringList splitLines(QStringView text);
// True when the text ends in a line break.
bool endsWithBreak(QStringView text);

// The lines of both, common ones once: a shortest edit script (Myers) while the texts differ
// in up to a few thousand lines; beyond that the differing middle is shown as taken out and put
// in whole, which is still right but not the shortest.
std::vector<Line> compare(const QStringList& first, const QStringList& second);

} // namespace LineDiff
