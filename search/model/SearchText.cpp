#include "search/model/SearchText.h"

#include <algorithm>

namespace SearchText {

namespace {

// U+FF61 to U+FF9F in their full-width forms; the lone sound marks become the spacing ones.
constexpr char16_t kHalfKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5,
    0x30E7, 0x30C3, 0x30FC, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4,
    0x30E6, 0x30E8, 0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C};

constexpr char16_t kVoiced = 0xFF9E;
constexpr char16_t kSemiVoiced = 0xFF9F;

// The full-width kana a half-width one and its following sound mark make, or 0 when they
// make none.
char16_t withMark(char16_t kana, char16_t mark)
{
    const bool kaToTo = (kana >= 0x30AB && kana <= 0x30C8);
    const bool haToHo = (kana >= 0x30CF && kana <= 0x30DB && (kana - 0x30CF) % 3 == 0);
    if (mark == kVoiced) {
        if (haToHo || (kaToTo && kana != 0x30C3))
            return char16_t(kana + 1);
        if (kana == 0x30A6)
            return 0x30F4; // ヴ
        if (kana == 0x30EF)
            return 0x30F7;
        if (kana == 0x30F2)
            return 0x30FA;
    } else if (mark == kSemiVoiced && haToHo) {
        return char16_t(kana + 2);
    }
    return 0;
}

char16_t foldCase(char16_t c, const SearchOptions& options)
{
    if (options.caseSensitive)
        return c;
    if (c < 0x80)
        return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c;
    // Kana and ideographs have no case; they are most of a Japanese text.
    if (QChar::isSurrogate(c) || (c >= 0x3000 && c < 0xA000))
        return c;
    return char16_t(QChar::toCaseFolded(char32_t(c)));
}

char16_t foldKana(char16_t c, const SearchOptions& options)
{
    if (!options.kanaSensitive && c >= 0x30A1 && c <= 0x30F6)
        return char16_t(c - 0x60);
    return c;
}

} // namespace

QString fold(QStringView text, const SearchOptions& options, std::vector<qsizetype>* origin)
{
    QString out(text.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    qsizetype n = 0;
    if (origin) {
        origin->clear();
        origin->reserve(size_t(text.size()) + 1);
    }
    const char16_t* src = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        char16_t c = src[i];
        const qsizetype from = i;
        if (c >= 0xFF01 && c <= 0xFF5E) {
            c = char16_t(c - 0xFEE0);
        } else if (c == 0x3000) {
            c = u' ';
        } else if (c >= 0xFF61 && c <= 0xFF9F) {
            c = kHalfKana[c - 0xFF61];
            if (i + 1 < size) {
                if (const char16_t marked = withMark(c, src[i + 1])) {
                    c = marked;
                    ++i;
                }
            }
        }
        dst[n++] = foldKana(foldCase(c, options), options);
        if (origin)
            origin->push_back(from);
    }
    if (origin)
        origin->push_back(size);
    out.truncate(n);
    return out;
}

namespace {
// Hits are lines: a query ends at its first line break.
QStringView firstLine(const QString& query)
{
    const auto end =
        std::find_if(query.begin(), query.end(), [](QChar c) { return c == u'\n' || c == u'\r'; });
    return QStringView(query).left(end - query.begin());
}
} // namespace

Pattern::Pattern(const QString& query, const SearchOptions& options)
    : m_options(options), m_folded(fold(firstLine(query), options)), m_matcher(m_folded, Qt::CaseSensitive)
{
}

std::vector<Match> Pattern::findLines(QStringView text, qsizetype limit) const
{
    std::vector<Match> matches;
    if (m_folded.isEmpty() || limit <= 0)
        return matches;
    const QString folded = fold(text, m_options);
    qsizetype at = m_matcher.indexIn(folded);
    if (at < 0)
        return matches;
    std::vector<qsizetype> origin;
    fold(text, m_options, &origin);
    while (at >= 0 && qsizetype(matches.size()) < limit) {
        Match m;
        m.start = origin[size_t(at)];
        m.length = origin[size_t(at + m_folded.size())] - m.start;
        m.lineStart = text.lastIndexOf(u'\n', m.start) + 1;
        const qsizetype lineEnd = text.indexOf(u'\n', m.start + m.length);
        m.lineEnd = lineEnd < 0 ? text.size() : lineEnd;
        matches.push_back(m);
        // Line feeds fold to themselves: the next line starts after the same one in the folded text.
        const qsizetype nextLine = folded.indexOf(u'\n', at + m_folded.size());
        if (nextLine < 0)
            break;
        at = m_matcher.indexIn(folded, nextLine + 1);
    }
    return matches;
}

Context contextOf(QStringView text, const Match& match)
{
    constexpr qsizetype kBefore = 20;
    constexpr qsizetype kAfter = 60;
    qsizetype from = match.lineStart;
    qsizetype to = match.lineEnd;
    Context c;
    if (match.start - from > kBefore) {
        from = match.start - kBefore;
        c.text = QStringLiteral("…");
    }
    const bool cutEnd = to - (match.start + match.length) > kAfter;
    if (cutEnd)
        to = match.start + match.length + kAfter;
    // Never cut a character made of two units in half.
    if (from > match.lineStart && text[from].isLowSurrogate())
        --from;
    if (cutEnd && to < text.size() && text[to].isLowSurrogate())
        ++to;
    c.start = c.text.size() + (match.start - from);
    c.length = match.length;
    c.text += text.mid(from, to - from);
    if (cutEnd)
        c.text += QStringLiteral("…");
    // Tabs and a CR left by a lone-CR line would break the one-line look.
    for (QChar& ch : c.text) {
        if (ch == u'\t' || ch == u'\r')
            ch = u' ';
    }
    return c;
}

} // namespace SearchText
