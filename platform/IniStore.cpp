#include "platform/IniStore.h"

#include "platform/ProfileFile.h"

int IniStore::getInt(const QString& section, const QString& key, int def) const
{
    int value = 0;
    return ProfileFile::parseInt(get(section, key, QString()), &value) ? value : def;
}

void IniStore::putInt(const QString& section, const QString& key, int value)
{
    put(section, key, QString::number(value));
}

bool IniStore::getBool(const QString& section, const QString& key, bool def) const
{
    return getInt(section, key, def ? 1 : 0) != 0;
}

void IniStore::putBool(const QString& section, const QString& key, bool value)
{
    put(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QString ProfileFileStore::get(const QString& section, const QString& key, const QString& def) const
{
    return ProfileFile::get(m_path, section, key, def);
}

void ProfileFileStore::put(const QString& section, const QString& key, const QString& value)
{
    ProfileFile::put(m_path, section, key, value);
}

void ProfileFileStore::remove(const QString& section, const QString& key)
{
    ProfileFile::remove(m_path, section, key);
}
