#include "settings/HStreamUtils.h"

#include "settings/ValueText.h"

#include "platform/Failure.h"
#include "platform/ProfileFile.h"
#include "platform/UserRegistry.h"

#include <QIODevice>

#include <algorithm>

namespace HStreamUtils {
namespace {

constexpr qint64 kChunk = 4096;

QString countKey(const QString& ident)
{
    return ident + QStringLiteral("_c");
}

QString lineKey(const QString& ident, int index)
{
    return ident + QStringLiteral("_d") + QString::number(index);
}

void writeAll(QIODevice& stream, const QByteArray& bytes)
{
    if (!bytes.isEmpty() && stream.write(bytes) != bytes.size())
        throw EInOutError(QStringLiteral("ストリームへの書き込みエラー"));
}

// The rest of the stream from its position; a device that cannot say its size is read to its end.
QByteArray readRest(QIODevice& stream)
{
    QByteArray bytes;
    for (;;) {
        const QByteArray chunk = stream.read(kChunk);
        if (chunk.isEmpty())
            return bytes;
        bytes += chunk;
    }
}

// "$" and the digits as an integer, 0 when they are not hexadecimal.
int hexValue(QStringView digits)
{
    int value = 0;
    for (const QChar c : digits) {
        const char16_t u = c.unicode();
        int digit = -1;
        if (u >= u'0' && u <= u'9')
            digit = u - u'0';
        else if (u >= u'A' && u <= u'F')
            digit = u - u'A' + 10;
        else if (u >= u'a' && u <= u'f')
            digit = u - u'a' + 10;
        if (digit < 0)
            return 0;
        value = value * 16 + digit;
    }
    return value;
}

} // namespace

void StreamToHexLines(QIODevice& stream, QStringList& lines)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    lines.clear();
    QString line;
    line.reserve(kHexDigitsPerLine);
    for (;;) {
        const QByteArray chunk = stream.read(kChunk);
        if (chunk.isEmpty())
            break;
        for (const char c : chunk) {
            const auto byte = static_cast<unsigned char>(c);
            line += QLatin1Char(kDigits[byte >> 4]);
            line += QLatin1Char(kDigits[byte & 0x0F]);
            if (line.size() == kHexDigitsPerLine) {
                lines.append(line);
                line.clear();
            }
        }
    }
    if (!line.isEmpty())
        lines.append(line);
}

void HexLinesToStream(const QStringList& lines, QIODevice& stream)
{
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes.reserve(bytes.size() + (line.size() + 1) / 2);
        for (qsizetype at = 0; at < line.size(); at += 2) {
            bytes.append(static_cast<char>(hexValue(QStringView(line).mid(at, 2))));
        }
    }
    writeAll(stream, bytes);
}

void WriteStreamToIni(QIODevice& stream, const QString& iniFileName, const QString& section,
                      const QString& ident)
{
    // Nothing to open: refuse quietly rather than write a file named by nothing.
    if (iniFileName.isEmpty())
        return;
    ProfileFileStore ini(iniFileName);
    WriteStreamToIni(stream, ini, section, ident);
}

void WriteStreamToIni(QIODevice& stream, IniStore& ini, const QString& section, const QString& ident)
{
    QStringList lines;
    StreamToHexLines(stream, lines);
    const int oldCount = IntegerOr(ini.get(section, countKey(ident), QStringLiteral("0")), 0);
    const int newCount = static_cast<int>(lines.size());
    if (newCount < oldCount) {
        for (int i = std::min(oldCount, kMaxStoredLines) - 1; i >= newCount; --i)
            ini.remove(section, lineKey(ident, i));
        if (newCount == 0)
            ini.remove(section, countKey(ident));
    }
    if (newCount > 0) {
        ini.put(section, countKey(ident), QString::number(newCount));
        for (int i = 0; i < newCount; ++i)
            ini.put(section, lineKey(ident, i), lines.at(i));
    }
}

void ReadStreamFromIni(QIODevice& stream, const QString& iniFileName, const QString& section,
                       const QString& ident)
{
    if (iniFileName.isEmpty())
        return;
    // One read of the file serves the count and every line.
    const ProfileBatch ini(iniFileName);
    ReadStreamFromIni(stream, ini, section, ident);
}

void ReadStreamFromIni(QIODevice& stream, const IniStore& ini, const QString& section, const QString& ident)
{
    const int count =
        std::min(IntegerOr(ini.get(section, countKey(ident), QStringLiteral("0")), 0), kMaxStoredLines);
    if (count <= 0)
        return;
    QStringList lines;
    lines.reserve(count);
    for (int i = 0; i < count; ++i)
        lines.append(ini.get(section, lineKey(ident, i), QString()));
    HexLinesToStream(lines, stream);
}

void WriteStreamToRegistry(QIODevice& stream, const UserRegistry& registry, const QString& regDir,
                           const QString& section, const QString& ident)
{
    if (regDir.isEmpty())
        return;
    const QByteArray bytes = readRest(stream);
    UserRegistry::Key key = registry.openKey(regDir);
    UserRegistry::Key sub = key.createSubKey(section);
    sub.writeBinary(ident, bytes);
    sub.close();
    key.close();
}

void ReadStreamFromRegistry(QIODevice& stream, const UserRegistry& registry, const QString& regDir,
                            const QString& section, const QString& ident)
{
    if (regDir.isEmpty())
        return;
    UserRegistry::Key key = registry.openKey(regDir);
    UserRegistry::Key sub = key.createSubKey(section);
    QByteArray bytes;
    if (sub.valueInfo(ident).exists())
        bytes = sub.readBinary(ident);
    sub.close();
    key.close();
    writeAll(stream, bytes);
}

} // namespace HStreamUtils
