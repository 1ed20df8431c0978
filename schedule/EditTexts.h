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

// A page's text as a text document holds it. The document turns U+2029 and its frame marks
// U+FDD0, U+FDD1 into paragraph breaks, so those stand in as characters the text does not use
// (`standIns`, empty when the text has none of them) and go back on the way out.
struct DocumentText {
    QString text;
    QString standIns;
};
DocumentText forDocument(const QString& text);
// The page's text from a document's raw text, whose paragraph breaks are U+2029: every other
// character as it was typed or read, no-break spaces and line separators included.
QString fromDocument(QString raw, QStringView standIns);

} // namespace EditTexts
