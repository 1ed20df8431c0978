#include "settings/ValueText.h"

#include "platform/IntegerText.h"

namespace {

char16_t asciiUpper(char16_t u)
{
    return (u >= u'a' && u <= u'z') ? static_cast<char16_t>(u - (u'a' - u'A')) : u;
}

} // namespace

std::optional<qint32> ParseInteger(QStringView text)
{
    return IntegerText::parse(text, IntegerText::HexPrefixes::DollarOnly);
}

qint32 IntegerOr(QStringView text, qint32 fallback)
{
    return ParseInteger(text).value_or(fallback);
}

bool SameTextAscii(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (asciiUpper(a[i].unicode()) != asciiUpper(b[i].unicode()))
            return false;
    return true;
}
