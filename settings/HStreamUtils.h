#pragma once

#include <QString>
#include <QStringList>

class IniStore;
class QIODevice;
class UserRegistry;

// Byte streams as settings: hexadecimal lines under counted INI keys, or one binary value of the
// per-user registry. Every function works from the stream's current position and never rewinds it.
namespace HStreamUtils {

// Digits per stored line: 32 bytes.
inline constexpr int kHexDigitsPerLine = 64;
// A stored line count beyond this is damage; reading that many keys would stall the program.
inline constexpr int kMaxStoredLines = 1 << 16;

// Replaces the list by the upper-case hex lines of the bytes from the position to the end.
void StreamToHexLines(QIODevice& stream, QStringList& lines);
// Writes the bytes of the lines at the position. Digits go two at a time; a pair that is not
// hexadecimal gives a byte 0 and a lone last digit its own value.
void HexLinesToStream(const QStringList& lines, QIODevice& stream);

// Keys ident+"_c" (line count, absent for an empty stream) and ident+"_d"+index. Stale lines are
// removed from the highest index down. A refused write throws EInOutError.
void WriteStreamToIni(QIODevice& stream, const QString& iniFileName, const QString& section,
                      const QString& ident);
// Leaves the stream untouched when nothing is stored; a missing line adds no bytes.
void ReadStreamFromIni(QIODevice& stream, const QString& iniFileName, const QString& section,
                       const QString& ident);
// The same through a store of the INI file.
void WriteStreamToIni(QIODevice& stream, IniStore& ini, const QString& section, const QString& ident);
void ReadStreamFromIni(QIODevice& stream, const IniStore& ini, const QString& section, const QString& ident);

// One binary value ident in the subkey section of regDir; an empty stream stores a value of
// length 0. A refused write throws ERegistryError "'ident' の設定に失敗しました".
void WriteStreamToRegistry(QIODevice& stream, const UserRegistry& registry, const QString& regDir,
                           const QString& section, const QString& ident);
// Creates the subkey when missing. A string or integer value throws ERegistryError
// "'ident' のデータ型が不正です"; without a value the stream is untouched.
void ReadStreamFromRegistry(QIODevice& stream, const UserRegistry& registry, const QString& regDir,
                            const QString& section, const QString& ident);

} // namespace HStreamUtils
