#include "platform/AnsiText.h"

#include <cstdint>
#include <cstdlib>

// Any bytes decode without failing, and text written by the writing rule reads back equal.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = AnsiText::decode(bytes);
    if (AnsiText::decode(AnsiText::encode(text)) != text)
        std::abort();
    const QString cp = AnsiText::decodeCp932(bytes);
    if (AnsiText::decodeCp932(AnsiText::encode(cp)) != cp && AnsiText::fitsCp932(cp) &&
        !AnsiText::encode(cp).startsWith("\xEF\xBB\xBF"))
        std::abort();
    if (AnsiText::splitLines(AnsiText::toCrLf(text)) != AnsiText::splitLines(text))
        std::abort();
    return 0;
}
