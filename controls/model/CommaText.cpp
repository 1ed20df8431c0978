#include "controls/model/CommaText.h"

namespace CommaText {

namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kComma = u',';

bool isBlank(char16_t c)
{
    return c >= 1 && c <= 32;
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

void decodeAppend(QStringView line, QString& pool, std::vector<qsizetype>& ends)
{
    const char16_t* s = line.utf16();
    const qsizetype n = line.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(s[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        if (s[i] == kQuote) {
            ++i;
            while (i < n) {
                const qsizetype start = i;
                while (i < n && s[i] != kQuote)
                    ++i;
                pool.append(line.sliced(start, i - start));
                if (i == n)
                    break; // never closed: the rest of the line
                if (i + 1 < n && s[i + 1] == kQuote) {
                    pool.append(QChar(kQuote));
                    i += 2;
                    continue;
                }
                ++i; // closing quote
                break;
            }
        } else {
            const qsizetype start = i;
            while (i < n && !isBlank(s[i]) && s[i] != kComma)
                ++i;
            pool.append(line.sliced(start, i - start));
        }
        ends.push_back(pool.size());
        skipBlanks();
        if (i < n && s[i] == kComma) {
            if (i == n - 1)
                ends.push_back(pool.size());
            ++i;
            skipBlanks();
        }
    }
}

QStringList decode(QStringView line)
{
    QString pool;
    std::vector<qsizetype> ends;
    decodeAppend(line, pool, ends);
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
