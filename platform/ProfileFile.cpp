#include "platform/ProfileFile.h"

#include "platform/AnsiText.h"
#include "platform/Failure.h"
#include "platform/IniText.h"
#include "platform/IntegerText.h"

#include <QFileInfo>

namespace {

[[noreturn]] void throwCannotWrite(const QString& path)
{
    throw EInOutError(formatMessage(QStringLiteral("%s に書き込めません"), path));
}

// A file that is missing or cannot be read reads as empty: every value takes its default.
IniText loadForReading(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    try {
        return IniText::fromBytes(AnsiText::readBytes(path));
    } catch (const EInOutError&) {
        return {};
    }
}

// Before a change: a file that exists but cannot be read must not be replaced by one that
// holds only the new value.
IniText loadForWriting(const QString& path)
{
    if (!QFileInfo::exists(path))
        return {};
    try {
        return IniText::fromBytes(AnsiText::readBytes(path));
    } catch (const EInOutError&) {
        throwCannotWrite(path);
    }
}

void store(const QString& path, const IniText& text)
{
    try {
        AnsiText::writeBytes(path, text.toBytes());
    } catch (const EInOutError&) {
        throwCannotWrite(path);
    }
}

void checkNames(const QString& path, const QString& section, const QString& key)
{
    // A name that cannot be written so that it reads back would inject or lose lines.
    if (!IniText::isValidSection(section) || !IniText::isValidKey(key))
        throwCannotWrite(path);
}

QString valueOf(const IniText& text, const QString& section, const QString& key, const QString& def)
{
    if (std::optional<QString> stored = text.value(section, key))
        return *stored;
    return IniText::readDefault(def);
}

int intOf(const IniText& text, const QString& section, const QString& key, int def)
{
    const std::optional<QString> stored = text.value(section, key);
    int value = 0;
    return stored && ProfileFile::parseInt(*stored, &value) ? value : def;
}

QString boolText(bool value)
{
    return value ? QStringLiteral("1") : QStringLiteral("0");
}

} // namespace

namespace ProfileFile {

bool parseInt(const QString& text, int* value)
{
    const std::optional<qint32> n =
        IntegerText::parse(IniText::trimmed(text), IntegerText::HexPrefixes::DollarOr0x);
    if (n)
        *value = *n;
    return n.has_value();
}

QString get(const QString& path, const QString& section, const QString& key, const QString& def)
{
    return valueOf(loadForReading(path), section, key, def);
}

void put(const QString& path, const QString& section, const QString& key, const QString& value)
{
    checkNames(path, section, key);
    IniText text = loadForWriting(path);
    // A file that already holds the value is left alone, even when its line ends differ.
    if (text.setValue(section, key, value))
        store(path, text);
}

void remove(const QString& path, const QString& section, const QString& key)
{
    if (!QFileInfo::exists(path))
        return;
    IniText text = loadForWriting(path);
    if (text.remove(section, key))
        store(path, text);
}

int getInt(const QString& path, const QString& section, const QString& key, int def)
{
    return intOf(loadForReading(path), section, key, def);
}

void putInt(const QString& path, const QString& section, const QString& key, int value)
{
    put(path, section, key, QString::number(value));
}

bool getBool(const QString& path, const QString& section, const QString& key, bool def)
{
    return getInt(path, section, key, def ? 1 : 0) != 0;
}

void putBool(const QString& path, const QString& section, const QString& key, bool value)
{
    put(path, section, key, boolText(value));
}

} // namespace ProfileFile

struct ProfileBatch::Impl {
    QString path;
    IniText text;
    QByteArray stored;       // the file's bytes as read or last written
    bool unreadable = false; // exists but could not be read: never overwrite it
    bool dirty = false;
    int changes = 0;

    void changed()
    {
        dirty = true;
        ++changes;
    }
};

ProfileBatch::ProfileBatch(QString path) : m_impl(std::make_unique<Impl>())
{
    m_impl->path = std::move(path);
    if (!QFileInfo::exists(m_impl->path))
        return;
    try {
        m_impl->stored = AnsiText::readBytes(m_impl->path);
        m_impl->text = IniText::fromBytes(m_impl->stored);
    } catch (const EInOutError&) {
        m_impl->unreadable = true;
    }
}

ProfileBatch::~ProfileBatch() = default;

const QString& ProfileBatch::path() const
{
    return m_impl->path;
}

QString ProfileBatch::get(const QString& section, const QString& key, const QString& def) const
{
    return valueOf(m_impl->text, section, key, def);
}

void ProfileBatch::put(const QString& section, const QString& key, const QString& value)
{
    checkNames(m_impl->path, section, key);
    if (m_impl->text.setValue(section, key, value))
        m_impl->changed();
}

void ProfileBatch::remove(const QString& section, const QString& key)
{
    if (m_impl->text.remove(section, key))
        m_impl->changed();
}

int ProfileBatch::changeCount() const
{
    return m_impl->changes;
}

void ProfileBatch::commit()
{
    if (!m_impl->dirty)
        return;
    if (m_impl->unreadable)
        throwCannotWrite(m_impl->path);
    QByteArray bytes = m_impl->text.toBytes();
    // Texts that differ may still give the same bytes (two code points of one code page
    // character): the file and its time then stay as they are.
    if (bytes != m_impl->stored || !QFileInfo::exists(m_impl->path)) {
        try {
            AnsiText::writeBytes(m_impl->path, bytes);
        } catch (const EInOutError&) {
            throwCannotWrite(m_impl->path);
        }
        m_impl->stored = std::move(bytes);
    }
    m_impl->dirty = false;
}
