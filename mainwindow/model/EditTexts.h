#pragma once

#include <QDateTime>
#include <QString>

// Texts the editing commands produce, without any widget.
namespace EditTexts {

// What a single-line field keeps of a pasted text: everything before the first line break.
// A NUL ends the text too, as it ends the clipboard's text on the platforms that terminate it.
QString firstLine(const QString& text);

// The time and date inserted into a memo, "t yy/m/d" in the Japanese forms whatever the system
// locale is: 9:05 01/3/7 for five past nine on 7 March 2001.
QString dateTimeText(const QDateTime& when);

} // namespace EditTexts
