#pragma once

#include <QString>
#include <QStringList>

// The column captions as the caption dialog edits them: one caption a line.
namespace ColumnCaptions {

QString toText(const QStringList& captions);
// A line break at the very end makes no caption of its own; an empty text has none.
QStringList fromText(const QString& text);

} // namespace ColumnCaptions
