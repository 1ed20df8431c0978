#include "sync/model/LineDiff.h"
#include "sync/model/MergeText.h"

#include <cstdint>

// Last: its check() macro must not meet the toolkit's headers.
#include "fuzz/FuzzCheck.h"

// Input: two texts as Latin-1, apart at the first NUL. The comparison gives each text's lines
// back in order, and taking both is the file's text and then the lines only the copy has.
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
    QStringList onlySecond;
    for (const LineDiff::Line& line : LineDiff::compare(a, b)) {
        if (line.side != LineDiff::Side::Second) {
            check(line.first == first.size());
            first << line.text;
        }
        if (line.side != LineDiff::Side::First) {
            check(line.second == second.size());
            second << line.text;
        }
        if (line.side == LineDiff::Side::Second)
            onlySecond << line.text;
    }
    check(first == a);
    check(second == b);

    const QString both = MergeText::merged(file, copy, MergeText::Choice::Both);
    check(both.startsWith(file));
    check(LineDiff::splitLines(both) == a + onlySecond);
    return 0;
}
