#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

// The text of an INI file as a list of lines, read and edited the way the Windows profile
// functions do it. Only the lines a change touches are rewritten; comments, blank lines,
// unknown keys and their spelling stay as they were.
//
// Reading: a line "[name]" opens a section (the name ends at the first "]", blanks around it
// ignored); a line "key=value" inside a section is a key (the key ends at the first "=");
// a line starting with ";" is a comment; everything else is kept but means nothing.
// Names compare without regard to letter case; the first matching section and, inside it,
// the first matching key win.
class IniText final {
public:
    // Values come back cut to this many bytes of code page text, as from a buffer of 2048.
    static constexpr qsizetype MaxValueBytes = 2047;

    // How the file was stored; a write keeps it.
    enum class Encoding { Ansi, Utf16LE, Utf16BE };

    IniText() = default;
    // Splits the text at CR LF, lone CR or lone LF.
    explicit IniText(const QString& text, Encoding encoding = Encoding::Ansi);

    // File bytes: UTF-16 after its byte order mark (what Windows editors save as "Unicode"),
    // else decoded by the reading rule of AnsiText. A NUL ends only the value of its line.
    static IniText fromBytes(QByteArrayView bytes);
    // Every line ended by CR LF, in the file's own encoding: UTF-16 with its mark, else by the
    // writing rule of AnsiText.
    QByteArray toBytes() const;
    Encoding encoding() const { return m_encoding; }
    QString toString() const;

    const QStringList& lines() const { return m_text; }

    // The value as the profile functions return it, or nothing when section or key is missing.
    std::optional<QString> value(QStringView section, QStringView key) const;
    // Replaces the first matching key's value in place, else adds the key after the last key of
    // the section, else appends the section at the end. False when the text did not change
    // (same value already stored, or a name isValidSection/isValidKey refuses).
    bool setValue(QStringView section, QStringView key, QStringView value);
    // Removes the key's lines from the first matching section. False when there was none.
    bool remove(QStringView section, QStringView key);

    // Names that can be written so that they read back: not empty after trimming blanks, no
    // line break or NUL, no "]" in a section, no "=" in a key, and no key starting with "["
    // or ";" (it would read as a section or a comment).
    static bool isValidSection(QStringView name);
    static bool isValidKey(QStringView name);

    // The reading rule of a stored value: it ends at a NUL; blanks around it and one pair of
    // enclosing double quotes dropped; cut to MaxValueBytes of code page text.
    static QString readValue(QStringView stored);
    // A default as the profile functions return it: without trailing blanks, cut like a value.
    static QString readDefault(QStringView def);
    // The longest start of the text whose code page bytes fit in maxBytes, never splitting a
    // double-byte character or a surrogate pair; a character the code page lacks counts one
    // byte per UTF-16 unit (the "?" it would become).
    static QStringView cutToBytes(QStringView text, qsizetype maxBytes);
    // The text written for a value so that readValue gives it back (short of the length cut):
    // line breaks and NULs become spaces, and a value that starts or ends with a blank or is
    // enclosed in double quotes is quoted once more.
    static QString storedValue(QStringView value);

    // Spaces and tabs, the blanks the profile functions drop around names and values.
    static QStringView trimmed(QStringView text);

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        Kind kind = Kind::Other;
        QString name;             // section or key name, trimmed
        qsizetype valueStart = 0; // key lines: where the value text begins (after "=" and blanks)
    };

    static Line classify(QStringView text);
    qsizetype findSection(QStringView name) const;
    // End of the section whose header is at index `header`: the next header or the end.
    qsizetype sectionEnd(qsizetype header) const;
    qsizetype findKey(qsizetype header, qsizetype end, QStringView key) const;

    QStringList m_text;
    std::vector<Line> m_lines; // parallel to m_text
    Encoding m_encoding = Encoding::Ansi;
};
