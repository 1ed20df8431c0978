#include "platform/AnsiText.h"
#include "platform/Cp932Table.h"

#include <cstdint>
#include <cstdlib>

// Any bytes decode without failing, and text written by the writing rule reads back equal.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = AnsiText::decode(bytes);
    // Typed forms (U+301C) may come back as the code page characters they were written as.
    QString readBack = text;
    for (QChar& c : readBack)
        c = QChar(Cp932Table::readsBackAs(c.unicode()));
    const QString again = AnsiText::decode(AnsiText::encode(text));
    if (again != text && again != readBack)
        std::abort();
    const QString cp = AnsiText::decodeCp932(bytes);
    if (AnsiText::decodeCp932(AnsiText::encode(cp)) != cp && AnsiText::fitsCp932(cp) &&
        !AnsiText::encode(cp).startsWith("\xEF\xBB\xBF"))
        std::abort();
    if (AnsiText::splitLines(AnsiText::toCrLf(text)) != AnsiText::splitLines(text))
        std::abort();
    return 0;
}
