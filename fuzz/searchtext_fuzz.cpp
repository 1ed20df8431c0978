#include "platform/AnsiText.h"
#include "search/model/SearchText.h"

#include <cstdint>
#include <cstdlib>

namespace {

QString oneLine(QString text)
{
    for (QChar& ch : text) {
        if (ch == u'\t' || ch == u'\r')
            ch = u' ';
    }
    return text;
}

} // namespace

// Input: one byte of options, one byte of query length, the query's bytes, then the text's.
// Every match lies inside its line and the text, folds to the query, and shows in its context.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const SearchOptions options{(data[0] & 1) != 0, (data[0] & 2) != 0};
    const size_t queryBytes = std::min<size_t>(data[1], size - 2);
    const QString query =
        AnsiText::decode(QByteArrayView(reinterpret_cast<const char*>(data + 2), qsizetype(queryBytes)));
    const QString text = AnsiText::decode(QByteArrayView(reinterpret_cast<const char*>(data + 2 + queryBytes),
                                                         qsizetype(size - 2 - queryBytes)));

    const SearchText::Pattern pattern(query, options);
    const QString folded = SearchText::fold(query.section(u'\n', 0, 0).section(u'\r', 0, 0), options);
    qsizetype previousLineEnd = -1;
    for (const SearchText::Match& m : pattern.findLines(text, 1000)) {
        if (m.start < 0 || m.length <= 0 || m.start + m.length > text.size())
            std::abort();
        if (m.lineStart > m.start || m.lineEnd < m.start + m.length || m.lineEnd > text.size())
            std::abort();
        if (m.lineStart <= previousLineEnd)
            std::abort(); // one match a line, in order
        previousLineEnd = m.lineEnd;
        const QString found = text.mid(m.start, m.length);
        if (SearchText::fold(found, options) != folded)
            std::abort();
        const SearchText::Context c = SearchText::contextOf(text, m);
        if (c.start < 0 || c.start + c.length > c.text.size() ||
            c.text.mid(c.start, c.length) != oneLine(found))
            std::abort();
    }
    return 0;
}
