#include "platform/AnsiText.h"

#include "platform/Cp932Table.h"
#include "platform/Failure.h"
#include "platform/FileReplace.h"

#include <QFile>

#include <algorithm>

namespace AnsiText {

namespace {

constexpr char16_t kEscapeBase = Cp932Table::kEscapeBase;

bool isContinuation(unsigned char b)
{
    return (b & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at p, 0 when it is not one (overlong forms,
// surrogates and code points past U+10FFFF count as malformed); its code point goes to *cp.
int utf8Sequence(const unsigned char* p, qsizetype left, char32_t* cp)
{
    const unsigned char b = p[0];
    if (b < 0x80) {
        *cp = b;
        return 1;
    }
    int len = 0;
    char32_t c = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
        c = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        c = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        c = b & 0x07;
    } else {
        return 0;
    }
    if (left < len)
        return 0;
    for (int k = 1; k < len; ++k) {
        if (!isContinuation(p[k]))
            return 0;
        c = (c << 6) | (p[k] & 0x3F);
    }
    if ((len == 3 && c < 0x800) || (len == 4 && (c < 0x10000 || c > 0x10FFFF)))
        return 0;
    if (c >= 0xD800 && c <= 0xDFFF)
        return 0;
    *cp = c;
    return len;
}

// True when the bytes are well-formed UTF-8 holding a character of three or more bytes.
// Japanese in UTF-8 always has one; two-byte sequences alone are as likely half-width
// katakana of the code page ("ﾃｽ" is C3 BD), and those must stay code page bytes.
bool looksLikeUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    bool wide = false;
    char32_t cp = 0;
    for (qsizetype i = 0; i < n;) {
        const int len = utf8Sequence(p + i, n - i, &cp);
        if (len == 0)
            return false;
        wide = wide || len >= 3;
        i += len;
    }
    return wide;
}

// looksLikeUtf8() over bytes that come a piece at a time: checks the whole sequences at the start
// and drops them, keeping one the end may cut unless it is the last piece. False as soon as one
// is malformed.
bool takeUtf8(QByteArray& bytes, bool* wide, bool last)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    char32_t cp = 0;
    // Four bytes settle any sequence.
    while (i < n && (last || n - i >= 4)) {
        const int len = utf8Sequence(p + i, n - i, &cp);
        if (len == 0)
            return false;
        *wide = *wide || len >= 3;
        i += len;
    }
    bytes.remove(0, i);
    return true;
}

// UTF-8 that keeps every malformed byte as an escape character, so nothing is lost. Written
// out by hand: the library's decoder drops a byte order mark that is part of the text.
QString decodeUtf8Lenient(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString out;
    out.reserve(n);
    char32_t cp = 0;
    for (qsizetype i = 0; i < n;) {
        const int len = utf8Sequence(p + i, n - i, &cp);
        if (len == 0) {
            out.append(QChar(char16_t(kEscapeBase + p[i])));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            out.append(QChar(QChar::highSurrogate(cp)));
            out.append(QChar(QChar::lowSurrogate(cp)));
        } else {
            out.append(QChar(char16_t(cp)));
        }
        i += len;
    }
    return out;
}

// The text as it reads back from its code page bytes: typed forms become the code page's own.
QString readBack(const QString& text)
{
    QString out = text;
    for (QChar& c : out)
        c = QChar(Cp932Table::readsBackAs(c.unicode()));
    return out;
}

bool isEscape(char16_t c)
{
    return c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF;
}

// Escape characters go out as the bytes they stand for, or, where those bytes would join their
// neighbours into other characters, as the private-use characters themselves.
QByteArray encodeUtf8WithBom(const QString& text, bool rawEscapes)
{
    QByteArray out("\xEF\xBB\xBF");
    out.reserve(text.size() * 3 + 3);
    qsizetype runStart = 0;
    for (qsizetype i = 0; rawEscapes && i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (!isEscape(c))
            continue;
        out.append(QStringView(text).mid(runStart, i - runStart).toUtf8());
        out.append(char(c - kEscapeBase));
        runStart = i + 1;
    }
    out.append(QStringView(text).mid(runStart).toUtf8());
    return out;
}

} // namespace

QString decodeCp932(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    QString out(n, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    qsizetype w = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const unsigned char b = p[i];
        if (b < 0x80) {
            dst[w++] = b;
            continue;
        }
        if (Cp932Table::isLeadByte(b) && i + 1 < n) {
            const char16_t c = Cp932Table::decodePair(b, p[i + 1]);
            if (c != 0) {
                dst[w++] = c;
                ++i;
                continue;
            }
        }
        // A lone lead byte or an unassigned pair: keep the byte itself; the next byte is read
        // afresh, which never turns a trail byte into a separator (trail bytes start at 0x40).
        dst[w++] = Cp932Table::decodeSingle(b);
    }
    out.truncate(w);
    return out;
}

QString decode(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return decodeUtf8Lenient(bytes.sliced(3));
    if (looksLikeUtf8(bytes))
        return decodeUtf8Lenient(bytes);
    return decodeCp932(bytes);
}

bool fitsCp932(const QString& text)
{
    for (QChar ch : text) {
        if (!Cp932Table::canEncode(ch.unicode()))
            return false;
    }
    return true;
}

QByteArray encode(const QString& text)
{
    // Written through a pointer: appending byte by byte costs more than the table lookups, and
    // a large page is encoded at every save and journal snapshot.
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    char* dst = out.data();
    qsizetype w = 0;
    bool hasEscape = false;
    bool fits = true;
    for (QChar ch : text) {
        const quint16 code = Cp932Table::encode(ch.unicode());
        if (code == Cp932Table::kNoCode) {
            fits = false;
            break;
        }
        hasEscape = hasEscape || isEscape(ch.unicode());
        if (code > 0xFF)
            dst[w++] = char(code >> 8);
        dst[w++] = char(code & 0xFF);
    }
    out.truncate(w);
    // A kept byte may pair with its neighbour or read as katakana, and code page bytes may happen
    // to form UTF-8 or start like a UTF-16 byte order mark (which an INI reader honours): each
    // would read back as other text, so those go out as UTF-8 instead.
    const bool utf16Mark = out.startsWith("\xFF\xFE") || out.startsWith("\xFE\xFF");
    if (fits && (!hasEscape || decodeCp932(out) == readBack(text)) && !looksLikeUtf8(out) && !utf16Mark)
        return out;
    hasEscape = std::any_of(text.cbegin(), text.cend(), [](QChar c) { return isEscape(c.unicode()); });
    QByteArray utf8 = encodeUtf8WithBom(text, true);
    if (hasEscape && decode(utf8) != text)
        utf8 = encodeUtf8WithBom(text, false);
    return utf8;
}

std::optional<QByteArray> encodeWithCrLfTaking(QString& text, qsizetype chunk)
{
    const quint16 crLf = quint16(Cp932Table::encode(u'\r') << 8 | Cp932Table::encode(u'\n'));
    const auto codeOf = [crLf](char16_t c) { return c == u'\n' ? crLf : Cp932Table::encode(c); };
    // First the size, and whether encode() would write these very bytes: every character fits,
    // none is a kept byte, and the bytes neither read as UTF-8 nor start like a UTF-16 mark.
    const char16_t* src = reinterpret_cast<const char16_t*>(text.constData());
    const qsizetype n = text.size();
    qsizetype size = 0;
    QByteArray start;
    QByteArray utf8; // bytes not yet checked, while they may all be UTF-8
    bool mayBeUtf8 = true;
    bool wide = false;
    for (qsizetype i = 0; i < n; ++i) {
        const quint16 code = codeOf(src[i]);
        if (code == Cp932Table::kNoCode || isEscape(src[i]))
            return std::nullopt;
        const char pair[2] = {char(code >> 8), char(code & 0xFF)};
        const QByteArrayView bytes = code > 0xFF ? QByteArrayView(pair, 2) : QByteArrayView(pair + 1, 1);
        size += bytes.size();
        if (start.size() < 2)
            start += bytes;
        if (mayBeUtf8) {
            utf8 += bytes;
            if (utf8.size() >= 4096)
                mayBeUtf8 = takeUtf8(utf8, &wide, false);
        }
    }
    if (mayBeUtf8 && takeUtf8(utf8, &wide, true) && wide)
        return std::nullopt;
    if (start.startsWith("\xFF\xFE") || start.startsWith("\xFE\xFF"))
        return std::nullopt;

    // From the end, since a string can only give back its tail. Untouched pages of the bytes take
    // no memory; each chunk of them fills as the text gives up the characters it stands for.
    QByteArray out(size, Qt::Uninitialized);
    char* dst = out.data();
    qsizetype w = size;
    for (qsizetype end = n; end > 0;) {
        const qsizetype from = std::max<qsizetype>(0, end - std::max<qsizetype>(chunk, 1));
        src = reinterpret_cast<const char16_t*>(text.constData());
        for (qsizetype i = end; i-- > from;) {
            const quint16 code = codeOf(src[i]);
            dst[--w] = char(code & 0xFF);
            if (code > 0xFF)
                dst[--w] = char(code >> 8);
        }
        text.truncate(from);
        text.squeeze();
        end = from;
    }
    return out;
}

QString toCrLf(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            out.append(u"\r\n");
            if (i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n') {
            out.append(u"\r\n");
        } else {
            out.append(c);
        }
    }
    return out;
}

void splitLineBreaks(const QString& text, QString* crLf, QString* lf)
{
    const qsizetype n = text.size();
    const char16_t* src = reinterpret_cast<const char16_t*>(text.constData());
    // Worst case every character is a lone break that doubles.
    *crLf = QString(2 * n, Qt::Uninitialized);
    *lf = QString(n, Qt::Uninitialized);
    char16_t* c = reinterpret_cast<char16_t*>(crLf->data());
    char16_t* l = reinterpret_cast<char16_t*>(lf->data());
    qsizetype wc = 0;
    qsizetype wl = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t ch = src[i];
        if (ch == u'\r' || ch == u'\n') {
            if (ch == u'\r' && i + 1 < n && src[i + 1] == u'\n')
                ++i;
            c[wc++] = u'\r';
            c[wc++] = u'\n';
            l[wl++] = u'\n';
        } else {
            c[wc++] = ch;
            l[wl++] = ch;
        }
    }
    crLf->truncate(wc);
    crLf->squeeze();
    lf->truncate(wl);
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

QByteArrayView untilNul(QByteArrayView bytes)
{
    const qsizetype at = bytes.indexOf('\0');
    return at < 0 ? bytes : bytes.first(at);
}

QByteArray readBytes(const QString& path)
{
    return readBytes(path, FileBytes::kDefaultLimit);
}

QByteArray readBytes(const QString& path, qint64 limit)
{
    QByteArray bytes;
    FileBytes::Refusal why = FileBytes::Refusal::None;
    if (!FileBytes::read(QFile::encodeName(path), bytes, limit, &why))
        throw EInOutError(readFailureMessage(path, why, limit));
    return bytes;
}

QString readFailureMessage(const QString& path, FileBytes::Refusal why, qint64 limit)
{
    if (why == FileBytes::Refusal::TooLarge)
        return formatMessage(QStringLiteral("ファイル %s は大きすぎるため読み込めません（%s MB まで）。"
                                            "ファイルはそのまま残します。"),
                             path, QString::number(limit >> 20));
    if (why == FileBytes::Refusal::NotRegular)
        return formatMessage(QStringLiteral("ファイル %s を読み込めません。"), path);
    return formatMessage(QStringLiteral("ファイル %s を開けません。"), path);
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    if (!FileReplace::replace(path, bytes))
        throw EInOutError(formatMessage(QStringLiteral("%s に書き込めません"), path));
}

} // namespace AnsiText
