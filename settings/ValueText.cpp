#include "settings/ValueText.h"

namespace {

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

char16_t asciiUpper(char16_t u)
{
    return (u >= u'a' && u <= u'z') ? static_cast<char16_t>(u - (u'a' - u'A')) : u;
}

} // namespace

std::optional<qint32> ParseInteger(QStringView text)
{
    if (text.isEmpty())
        return std::nullopt;

    if (text.front() == u'$') {
        if (text.size() == 1)
            return std::nullopt;
        quint64 value = 0;
        for (QChar c : text.mid(1)) {
            const int digit = hexDigit(c);
            if (digit < 0)
                return std::nullopt;
            value = value * 16 + static_cast<quint64>(digit);
            if (value > 0xFFFFFFFFull)
                return std::nullopt;
        }
        return static_cast<qint32>(static_cast<quint32>(value));
    }

    qsizetype i = 0;
    const bool negative = text.front() == u'-';
    if (negative || text.front() == u'+')
        i = 1;
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < u'0' || u > u'9')
            return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > 2147483648LL)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > 2147483647LL)
        return std::nullopt;
    return static_cast<qint32>(value);
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
