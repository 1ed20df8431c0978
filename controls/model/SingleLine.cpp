#include "controls/model/SingleLine.h"

#include <algorithm>

namespace SingleLine {

bool keepFirstLineOfInsert(QStringView before, QString& after, int& caret)
{
    const qsizetype end = std::clamp<qsizetype>(caret, 0, after.size());
    // The inserted run starts where the text stops agreeing with what was there.
    qsizetype start = 0;
    const qsizetype common = std::min(before.size(), end);
    while (start < common && before[start] == after[start])
        ++start;
    for (qsizetype i = start; i < end; ++i) {
        if (after[i] == u'\r' || after[i] == u'\n') {
            after.remove(i, end - i);
            caret = int(i);
            return true;
        }
    }
    return false;
}

} // namespace SingleLine
