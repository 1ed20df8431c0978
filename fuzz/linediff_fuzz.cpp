#include "fuzz/FuzzCheck.h"
#include "sync/model/LineDiff.h"
#include "sync/model/MergeText.h"

#include <cstdint>

// Input: two texts as Latin-1, apart at the first NUL. The comparison gives each text's lines
// back in order, and taking both starts with the file's text and keeps every line of each.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = bytes.indexOf('\0');
    const QString file = QString::fromLatin1(cut < 0 ? bytes : bytes.first(cut));
    const QString copy = QString::fromLatin1(cut < 0 ? QByteArrayView() : bytes.sliced(cut + 1));
    const QStringList a = LineDiff::splitLines(file);
    const QStringList b = LineDiff::splitLines(copy);

    QStringList first;
    QStringList second;
    for (const LineDiff::Line& line : LineDiff::compare(a, b)) {
        if (line.side != LineDiff::Side::Second) {
            check(line.first == first.size());
            first << line.text;
        }
        if (line.side != LineDiff::Side::First) {
            check(line.second == second.size());
            second << line.text;
        }
    }
    check(first == a);
    check(second == b);

    const QString both = MergeText::merged(file, copy, MergeText::Choice::Both);
    check(both.startsWith(file));
    const QStringList merged = LineDiff::splitLines(both);
    for (const QStringList* side : {&a, &b}) {
        qsizetype at = 0; // every line of each side is in the merge, in its order
        for (const QString& line : *side) {
            while (at < merged.size() && merged[at] != line)
                ++at;
            check(at < merged.size());
            ++at;
        }
    }
    return 0;
}
