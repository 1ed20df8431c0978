#include "schedule/DataFileNames.h"

namespace DataFileNames {

namespace {

QString digits(int value, int width)
{
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

void putDigits(char* at, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        at[i] = char('0' + value % 10);
}

// A name taken apart, its numbers not yet read as a date.
struct Shape {
    Kind kind = Kind::ToDo;
    int year = 0;
    int month = 0;
    int day = 0;
};

// One reader for QString names and file-system bytes alike.
template <typename Char> class Scanner {
public:
    Scanner(const Char* text, qsizetype size, bool ignoreCase)
        : m_text(text), m_size(size), m_ignoreCase(ignoreCase)
    {
    }

    std::optional<Shape> shape() const
    {
        if (is(0, "ToDo.txt", m_size))
            return Shape{Kind::ToDo};
        if (is(0, "Memo.txt", m_size))
            return Shape{Kind::Memo};
        Shape s;
        if (m_size == 10 && is(6, ".csv", 4) && number(0, 4, s.year) && number(4, 2, s.month)) {
            s.kind = Kind::Month;
            return s;
        }
        if (m_size < 4 || !is(m_size - 4, ".txt", 4))
            return std::nullopt;
        const qsizetype stem = m_size - 4;
        if (stem == 9 && is(0, "Anniv", 5) && number(5, 2, s.month) && number(7, 2, s.day)) {
            s.kind = Kind::Anniv;
            return s;
        }
        qsizetype at = 0;
        s.kind = Kind::Diary;
        if (stem == 11 && is(0, "Sch", 3)) {
            s.kind = Kind::Plan;
            at = 3;
        } else if (stem != 8) {
            return std::nullopt;
        }
        if (number(at, 4, s.year) && number(at + 4, 2, s.month) && number(at + 6, 2, s.day))
            return s;
        return std::nullopt;
    }

private:
    char16_t at(qsizetype i) const
    {
        const char16_t c = char16_t(m_text[i]);
        return m_ignoreCase && c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
    }

    // The text from `from` is `literal`, `length` characters long.
    bool is(qsizetype from, std::string_view literal, qsizetype length) const
    {
        if (length != qsizetype(literal.size()) || from + length > m_size)
            return false;
        for (qsizetype i = 0; i < length; ++i) {
            char16_t want = char16_t(literal[size_t(i)]);
            if (m_ignoreCase && want >= u'A' && want <= u'Z')
                want = char16_t(want + (u'a' - u'A'));
            if (at(from + i) != want)
                return false;
        }
        return true;
    }

    bool number(qsizetype from, qsizetype count, int& value) const
    {
        value = 0;
        for (qsizetype i = from; i < from + count; ++i) {
            const char16_t c = char16_t(m_text[i]);
            if (c < u'0' || c > u'9')
                return false;
            value = value * 10 + (c - u'0');
        }
        return true;
    }

    const Char* m_text;
    qsizetype m_size;
    bool m_ignoreCase;
};

std::optional<Parsed> dated(const std::optional<Shape>& s)
{
    if (!s)
        return std::nullopt;
    QDate date;
    switch (s->kind) {
    case Kind::ToDo:
    case Kind::Memo:
        return Parsed{s->kind, {}};
    case Kind::Plan:
    case Kind::Diary:
        date = QDate(s->year, s->month, s->day);
        break;
    case Kind::Anniv:
        date = QDate(2000, s->month, s->day);
        break;
    case Kind::Month:
        date = QDate(s->year, s->month, 1);
        break;
    }
    if (!date.isValid())
        return std::nullopt;
    return Parsed{s->kind, date};
}

} // namespace

QString month(QDate date)
{
    return digits(date.year(), 4) + digits(date.month(), 2) + QStringLiteral(".csv");
}

QString diary(QDate date)
{
    return digits(date.year(), 4) + digits(date.month(), 2) + digits(date.day(), 2) + QStringLiteral(".txt");
}

QString plan(QDate date)
{
    return QStringLiteral("Sch") + diary(date);
}

QString anniv(QDate date)
{
    return QStringLiteral("Anniv") + digits(date.month(), 2) + digits(date.day(), 2) + QStringLiteral(".txt");
}

QString of(Kind kind, QDate date)
{
    switch (kind) {
    case Kind::ToDo:
        return kToDo;
    case Kind::Memo:
        return kMemo;
    case Kind::Plan:
        return plan(date);
    case Kind::Diary:
        return diary(date);
    case Kind::Anniv:
        return anniv(date);
    case Kind::Month:
        break;
    }
    return month(date);
}

DayNames::DayNames(QDate date)
{
    putDigits(anniv + 5, date.month() * 100 + date.day(), 4);
    putDigits(plan + 3, date.year() * 10000 + date.month() * 100 + date.day(), 8);
}

std::optional<Parsed> parse(QStringView name)
{
    return dated(Scanner<char16_t>(name.utf16(), name.size(), false).shape());
}

std::optional<Parsed> parse(std::string_view name)
{
    // Bytes of 0x80 and above take no part in an ASCII name, and every literal compared is ASCII.
    return dated(Scanner<unsigned char>(reinterpret_cast<const unsigned char*>(name.data()),
                                        qsizetype(name.size()), false)
                     .shape());
}

bool looksLikeDataFile(QStringView name)
{
    return Scanner<char16_t>(name.utf16(), name.size(), true).shape().has_value();
}

QDate anniversary(int year, int month, int day)
{
    if (!QDate(2000, month, day).isValid())
        return {};
    QDate date(year, month, day);
    while (!date.isValid())
        date = QDate(--year, month, day);
    return date;
}

} // namespace DataFileNames
