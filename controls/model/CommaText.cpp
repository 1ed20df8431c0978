#include "controls/model/CommaText.h"

namespace CommaText {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';

bool isBlank(char16_t c)
{
    return c >= 1 && c <= 32;
}

bool isBreak(char16_t c)
{
    return c == u'\r' || c == u'\n';
}

bool needsQuotes(QStringView field)
{
    for (QChar c : field) {
        const char16_t u = c.unicode();
        if (isBlank(u) || u == kQuote || u == kComma)
            return true;
    }
    return false;
}

} // namespace

void encodeAppend(QString& out, std::span<const QStringView> fields)
{
    if (fields.size() == 1 && fields.front().isEmpty()) {
        out.append(u"\"\"");
        return;
    }
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out.append(QChar(kComma));
        const QStringView field = fields[i];
        if (!needsQuotes(field)) {
            out.append(field);
            continue;
        }
        out.append(QChar(kQuote));
        qsizetype runStart = 0;
        for (qsizetype k = 0; k < field.size(); ++k) {
            if (field[k] != QChar(kQuote))
                continue;
            // Copy up to and including the quote, then double it.
            out.append(field.sliced(runStart, k + 1 - runStart));
            out.append(QChar(kQuote));
            runStart = k + 1;
        }
        out.append(field.sliced(runStart));
        out.append(QChar(kQuote));
    }
}

QString encode(const QStringList& fields)
{
    std::vector<QStringView> views(fields.cbegin(), fields.cend());
    QString line;
    qsizetype length = fields.size();
    for (const QString& field : fields)
        length += field.size() + 2;
    line.reserve(length);
    encodeAppend(line, views);
    return line;
}

// The one reader of the rules. With kLineOnly the line ends at the first CR or LF; otherwise
// every character up to n belongs to the line and CR and LF are blanks like the others.
template <bool kLineOnly>
qsizetype decodeFields(const char16_t* s, qsizetype n, qsizetype& i, char16_t* out, qsizetype at,
                       std::vector<qsizetype>& ends)
{
    auto lineGoesOn = [&] { return i < n && !(kLineOnly && isBreak(s[i])); };
    auto skipBlanks = [&] {
        while (lineGoesOn() && isBlank(s[i]))
            ++i;
    };
    skipBlanks();
    while (lineGoesOn()) {
        if (s[i] == kQuote) {
            ++i;
            while (true) {
                while (lineGoesOn() && s[i] != kQuote)
                    out[at++] = s[i++];
                if (!lineGoesOn())
                    break; // never closed: the rest of the line
                if (i + 1 < n && s[i + 1] == kQuote) {
                    out[at++] = kQuote;
                    i += 2;
                    continue;
                }
                ++i; // closing quote
                break;
            }
        } else {
            while (i < n && (s[i] > 32 || s[i] == 0) && s[i] != kComma)
                out[at++] = s[i++];
        }
        ends.push_back(at);
        skipBlanks();
        if (lineGoesOn() && s[i] == kComma) {
            ++i;
            if (!lineGoesOn())
                ends.push_back(at); // a comma as the line's last character
            skipBlanks();
        }
    }
    return at;
}

qsizetype decodeLineInto(QStringView text, qsizetype& pos, char16_t* out, qsizetype at,
                         std::vector<qsizetype>& ends)
{
    const char16_t* s = text.utf16();
    const qsizetype n = text.size();
    at = decodeFields<true>(s, n, pos, out, at, ends);
    if (pos < n && s[pos] == u'\r' && pos + 1 < n && s[pos + 1] == u'\n')
        ++pos;
    if (pos < n)
        ++pos;
    return at;
}

QStringList decode(QStringView line)
{
    QString pool(line.size(), Qt::Uninitialized);
    std::vector<qsizetype> ends;
    qsizetype i = 0;
    decodeFields<false>(line.utf16(), line.size(), i, reinterpret_cast<char16_t*>(pool.data()), 0, ends);
    QStringList fields;
    fields.reserve(qsizetype(ends.size()));
    qsizetype start = 0;
    for (qsizetype end : ends) {
        fields.append(QStringView(pool).sliced(start, end - start).toString());
        start = end;
    }
    return fields;
}

} // namespace CommaText
