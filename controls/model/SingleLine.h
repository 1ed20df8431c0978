#pragma once

#include <QString>
#include <QStringView>

// A single-line field takes only the first line of a multi-line insertion (a paste, a drop),
// as the schedule paste does, instead of joining the lines with blanks.
namespace SingleLine {

// `before` is the field's text before the insertion, `after` the text with it and `caret` the
// caret behind it. Cuts the inserted run at its first line break and moves the caret to the cut.
// The text the field had stays as it was. True when something was cut.
bool keepFirstLineOfInsert(QStringView before, QString& after, int& caret);

} // namespace SingleLine
