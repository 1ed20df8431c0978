#include "schedule/EditTexts.h"

#include <QLocale>

#include <algorithm>
#include <iterator>

namespace EditTexts {

QString firstLine(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return text.left(i);
    }
    return text;
}

QString dateTimeText(const QDateTime& when)
{
    static const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    const QDate date = when.date();
    // The month and day go without a leading zero; the year keeps its last two digits.
    return japanese.toString(when.time(), QLocale::ShortFormat) + u' ' +
           QStringLiteral("%1/%2/%3")
               .arg((date.year() % 100 + 100) % 100, 2, 10, QLatin1Char('0'))
               .arg(date.month())
               .arg(date.day());
}

namespace {
constexpr char16_t kHeld[] = {u'\u2029', u'\uFDD0', u'\uFDD1'};
} // namespace

DocumentText forDocument(const QString& text)
{
    DocumentText out{text, {}};
    if (!std::any_of(std::begin(kHeld), std::end(kHeld), [&](char16_t c) { return text.contains(QChar(c)); }))
        return out;
    // Noncharacters are for use inside a program; the stand-ins are ones this text does not hold.
    for (char16_t c = u'\uFDD2'; c <= u'\uFDEF' && out.standIns.size() < qsizetype(std::size(kHeld)); ++c)
        if (!text.contains(QChar(c)))
            out.standIns.append(QChar(c));
    if (out.standIns.size() < qsizetype(std::size(kHeld))) {
        out.standIns.clear();
        return out;
    }
    for (size_t i = 0; i < std::size(kHeld); ++i)
        out.text.replace(QChar(kHeld[i]), out.standIns.at(i));
    return out;
}

QString fromDocument(QString raw, QStringView standIns)
{
    raw.replace(QChar::ParagraphSeparator, u'\n');
    for (qsizetype i = 0; i < standIns.size() && i < qsizetype(std::size(kHeld)); ++i)
        raw.replace(standIns.at(i), QChar(kHeld[i]));
    return raw;
}

} // namespace EditTexts
