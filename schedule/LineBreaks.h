#pragma once

#include <QString>

// Line breaks between the editors (LF) and the files (CR LF). Both run in one pass: a page of
// tens of megabytes has a million lines, and growing a string in place once per line break
// moves its tail a million times.
namespace LineBreaks {
// Every LF becomes CR LF.
QString toCrLf(const QString& text);
// Every CR LF becomes LF; a lone CR or LF stays.
QString toLf(QString text);
} // namespace LineBreaks
