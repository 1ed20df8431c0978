#include "controls/model/CommaText.h"

namespace CommaText {

namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kComma = u',';

bool isBlank(QChar c)
{
    return c.unicode() >= 1 && c.unicode() <= 32;
}

bool needsQuotes(const QString& field)
{
    for (QChar c : field) {
        if (isBlank(c) || c == kQuote || c == kComma)
            return true;
    }
    return false;
}

} // namespace

QString encode(const QStringList& fields)
{
    if (fields.size() == 1 && fields.front().isEmpty())
        return QStringLiteral("\"\"");
    QString line;
    qsizetype length = fields.size();
    for (const QString& field : fields)
        length += field.size() + 2;
    line.reserve(length);
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line.append(kComma);
        const QString& field = fields.at(i);
        if (!needsQuotes(field)) {
            line.append(field);
            continue;
        }
        line.append(kQuote);
        for (QChar c : field) {
            if (c == kQuote)
                line.append(kQuote);
            line.append(c);
        }
        line.append(kQuote);
    }
    return line;
}

QStringList decode(QStringView line)
{
    QStringList fields;
    const qsizetype n = line.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(line[i]))
            ++i;
    };
    skipBlanks();
    while (i < n) {
        if (line[i] == kQuote) {
            QString field;
            ++i;
            while (i < n) {
                if (line[i] != kQuote) {
                    // Copy the run up to the next quote in one go.
                    const qsizetype start = i;
                    while (i < n && line[i] != kQuote)
                        ++i;
                    field.append(line.sliced(start, i - start));
                    continue;
                }
                if (i + 1 < n && line[i + 1] == kQuote) {
                    field.append(kQuote);
                    i += 2;
                    continue;
                }
                ++i; // closing quote
                break;
            }
            fields.append(field);
        } else {
            const qsizetype start = i;
            while (i < n && !isBlank(line[i]) && line[i] != kComma)
                ++i;
            fields.append(line.sliced(start, i - start).toString());
        }
        skipBlanks();
        if (i < n && line[i] == kComma) {
            if (i == n - 1)
                fields.append(QString());
            ++i;
            skipBlanks();
        }
    }
    return fields;
}

} // namespace CommaText
