#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <span>
#include <vector>

// The grid's comma text: one line holds one row's fields, separated by commas, a field quoted
// with double quotes when it holds a blank, a control character, a quote or a comma.
namespace CommaText {

// Joins the fields into one line; the row of a single empty field is written as "".
QString encode(const QStringList& fields);
// The same, appended to out.
void encodeAppend(QString& out, std::span<const QStringView> fields);

// Splits one line into its fields. Blanks (U+0001..U+0020) around fields are dropped, an empty
// line gives no field, an unclosed quote runs to the end of the line.
QStringList decode(QStringView line);
// The same without a string per field, for reading a whole file: decodes the line of text that
// starts at pos (it ends at CR LF, a lone CR or a lone LF, or with the text) and moves pos past
// its break. Each field's text is written to out from index at on (room for the line's length
// always suffices) and the index where it ends is appended to ends. Returns the index after
// the last field.
qsizetype decodeLineInto(QStringView text, qsizetype& pos, char16_t* out, qsizetype at,
                         std::vector<qsizetype>& ends);

} // namespace CommaText
