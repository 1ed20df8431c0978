#include "sync/model/MergeText.h"

#include "sync/model/LineDiff.h"

namespace MergeText {

QString merged(const QString& file, const QString& copy, Choice choice)
{
    if (choice == Choice::File)
        return file;
    if (choice == Choice::Copy)
        return copy;
    QStringList added;
    for (const LineDiff::Line& line :
         LineDiff::compare(LineDiff::splitLines(file), LineDiff::splitLines(copy)))
        if (line.side == LineDiff::Side::Second)
            added.append(line.text);
    if (added.isEmpty())
        return file;
    const bool closed = LineDiff::endsWithBreak(file);
    QString out = file;
    if (!out.isEmpty() && !closed)
        out += QStringLiteral("\r\n");
    out += added.join(QStringLiteral("\r\n"));
    // An empty last line is only there with its break.
    if (closed || added.last().isEmpty())
        out += QStringLiteral("\r\n");
    return out;
}

} // namespace MergeText
