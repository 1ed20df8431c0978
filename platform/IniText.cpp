#include "platform/IniText.h"

#include "platform/AnsiText.h"
#include "platform/Cp932Table.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

bool hasBreakOrNul(QStringView text)
{
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return true;
    }
    return false;
}

bool sameName(QStringView a, QStringView b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Unit by unit, so that every byte pair comes back as it was; an odd last byte is kept as the
// low byte of a unit of its own.
QString decodeUtf16(QByteArrayView bytes, bool bigEndian)
{
    QString out((bytes.size() + 1) / 2, Qt::Uninitialized);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0, w = 0; i < bytes.size(); i += 2, ++w) {
        const unsigned first = p[i];
        const unsigned second = i + 1 < bytes.size() ? p[i + 1] : 0;
        out[w] = QChar(char16_t(bigEndian ? (first << 8) | second : (second << 8) | first));
    }
    return out;
}

// Stored text as it reads, before the length cut: up to a NUL, blanks and one pair of quotes off.
QStringView unwrapped(QStringView stored)
{
    const qsizetype nul = stored.indexOf(QChar(u'\0'));
    QStringView v = IniText::trimmed(nul < 0 ? stored : stored.first(nul));
    if (v.size() >= 2 && v.front() == u'"' && v.back() == u'"')
        v = v.sliced(1, v.size() - 2);
    return v;
}

} // namespace

IniText::IniText(const QString& text, Encoding encoding)
    : m_text(AnsiText::splitLines(text)), m_encoding(encoding)
{
    m_lines.reserve(m_text.size());
    for (const QString& line : std::as_const(m_text))
        m_lines.push_back(classify(line));
}

IniText IniText::fromBytes(QByteArrayView bytes)
{
    if (bytes.startsWith("\xFF\xFE"))
        return IniText(decodeUtf16(bytes.sliced(2), false), Encoding::Utf16LE);
    if (bytes.startsWith("\xFE\xFF"))
        return IniText(decodeUtf16(bytes.sliced(2), true), Encoding::Utf16BE);
    return IniText(AnsiText::decode(bytes));
}

QByteArray IniText::toBytes() const
{
    if (m_encoding == Encoding::Ansi)
        return AnsiText::encode(toString());
    const bool bigEndian = m_encoding == Encoding::Utf16BE;
    const QString text = toString();
    QByteArray out;
    out.reserve(2 + text.size() * 2);
    out.append(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const char hi = char(u >> 8);
        const char lo = char(u & 0xFF);
        out.append(bigEndian ? hi : lo);
        out.append(bigEndian ? lo : hi);
    }
    return out;
}

QString IniText::toString() const
{
    qsizetype size = 0;
    for (const QString& line : m_text)
        size += line.size() + 2;
    QString out;
    out.reserve(size);
    for (const QString& line : m_text) {
        out.append(line);
        out.append(u"\r\n");
    }
    return out;
}

QStringView IniText::trimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin);
}

IniText::Line IniText::classify(QStringView text)
{
    Line line;
    const QStringView body = trimmed(text);
    if (body.isEmpty() || body.front() == u';')
        return line;
    if (body.front() == u'[') {
        const qsizetype close = body.indexOf(u']');
        if (close > 0) {
            line.kind = Kind::Section;
            line.name = trimmed(body.sliced(1, close - 1)).toString();
        }
        return line;
    }
    const qsizetype eq = text.indexOf(u'=');
    if (eq < 0)
        return line;
    const QStringView name = trimmed(text.first(eq));
    if (name.isEmpty())
        return line;
    line.kind = Kind::Key;
    line.name = name.toString();
    qsizetype start = eq + 1;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    line.valueStart = start;
    return line;
}

bool IniText::isValidSection(QStringView name)
{
    const QStringView t = trimmed(name);
    return !t.isEmpty() && !hasBreakOrNul(t) && !t.contains(u']');
}

bool IniText::isValidKey(QStringView name)
{
    const QStringView t = trimmed(name);
    return !t.isEmpty() && !hasBreakOrNul(t) && !t.contains(u'=') && t.front() != u'[' && t.front() != u';';
}

QString IniText::readValue(QStringView stored)
{
    return cutToBytes(unwrapped(stored), MaxValueBytes).toString();
}

QString IniText::readDefault(QStringView def)
{
    qsizetype end = def.size();
    while (end > 0 && isBlank(def[end - 1]))
        --end;
    return cutToBytes(def.first(end), MaxValueBytes).toString();
}

QStringView IniText::cutToBytes(QStringView text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        const bool pair = QChar::isHighSurrogate(c) && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const quint16 code = Cp932Table::encode(c);
        const qsizetype width = pair ? 2 : code != Cp932Table::kNoCode && code > 0xFF ? 2 : 1;
        if (bytes + width > maxBytes)
            return text.first(i);
        bytes += width;
        if (pair)
            ++i;
    }
    return text;
}

QString IniText::storedValue(QStringView value)
{
    QString out;
    out.reserve(value.size() + 2);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == u'\r' && i + 1 < value.size() && value[i + 1] == u'\n')
            continue; // CR LF becomes one space, written for the LF
        out.append(c == u'\r' || c == u'\n' || c == u'\0' ? QChar(u' ') : c);
    }
    const bool needsQuotes =
        !out.isEmpty() && (isBlank(out.front()) || isBlank(out.back()) ||
                           (out.size() >= 2 && out.front() == u'"' && out.back() == u'"'));
    if (needsQuotes) {
        out.prepend(u'"');
        out.append(u'"');
    }
    return out;
}

qsizetype IniText::findSection(QStringView name) const
{
    const QStringView wanted = trimmed(name);
    for (qsizetype i = 0; i < qsizetype(m_lines.size()); ++i) {
        if (m_lines[i].kind == Kind::Section && sameName(m_lines[i].name, wanted))
            return i;
    }
    return -1;
}

qsizetype IniText::sectionEnd(qsizetype header) const
{
    qsizetype i = header + 1;
    while (i < qsizetype(m_lines.size()) && m_lines[i].kind != Kind::Section)
        ++i;
    return i;
}

qsizetype IniText::findKey(qsizetype header, qsizetype end, QStringView key) const
{
    const QStringView wanted = trimmed(key);
    for (qsizetype i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Key && sameName(m_lines[i].name, wanted))
            return i;
    }
    return -1;
}

std::optional<QString> IniText::value(QStringView section, QStringView key) const
{
    const qsizetype header = findSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype at = findKey(header, sectionEnd(header), key);
    if (at < 0)
        return std::nullopt;
    return readValue(QStringView(m_text[at]).sliced(m_lines[at].valueStart));
}

bool IniText::setValue(QStringView section, QStringView key, QStringView value)
{
    if (!isValidSection(section) || !isValidKey(key))
        return false;
    const QString stored = storedValue(value);
    const QString keyLine = trimmed(key).toString() + u'=' + stored;
    const qsizetype header = findSection(section);
    if (header < 0) {
        const QString sectionLine = u'[' + trimmed(section).toString() + u']';
        m_text.append(sectionLine);
        m_lines.push_back(classify(sectionLine));
        m_text.append(keyLine);
        m_lines.push_back(classify(keyLine));
        return true;
    }
    const qsizetype end = sectionEnd(header);
    const qsizetype at = findKey(header, end, key);
    if (at >= 0) {
        // A line that already reads as this value stays as it is, whatever blanks it carries.
        if (unwrapped(QStringView(m_text[at]).sliced(m_lines[at].valueStart)) == unwrapped(stored))
            return false;
        // Keep the key's own spelling and spacing; only the value changes.
        const QString replaced = m_text[at].left(m_lines[at].valueStart) + stored;
        m_text[at] = replaced;
        return true;
    }
    qsizetype insertAt = header + 1;
    for (qsizetype i = header + 1; i < end; ++i) {
        if (m_lines[i].kind == Kind::Key)
            insertAt = i + 1;
    }
    m_text.insert(insertAt, keyLine);
    m_lines.insert(m_lines.begin() + insertAt, classify(keyLine));
    return true;
}

bool IniText::remove(QStringView section, QStringView key)
{
    const qsizetype header = findSection(section);
    if (header < 0 || trimmed(key).isEmpty())
        return false;
    bool removed = false;
    // Every line of the key goes, so an older duplicate cannot reappear after the delete.
    for (qsizetype i = sectionEnd(header) - 1; i > header; --i) {
        if (m_lines[i].kind == Kind::Key && sameName(m_lines[i].name, trimmed(key))) {
            m_text.removeAt(i);
            m_lines.erase(m_lines.begin() + i);
            removed = true;
        }
    }
    return removed;
}
