#include "settings/ColorNames.h"
#include "settings/RegMng.h"
#include "settings/ValueText.h"

#include "platform/IniStore.h"
#include "platform/MessageService.h"
#include "platform/ProfileFile.h"

#include <algorithm>

namespace {

const QString kFontName = QStringLiteral("_FontName");
const QString kFontSize = QStringLiteral("_FontSize");
const QString kFontColor = QStringLiteral("_FontColor");
const QString kFontStyle = QStringLiteral("_FontStyle");
const QString kFontCharset = QStringLiteral("_FontCharset");
const QString kItemCount = QStringLiteral("_ItemCount");
const QString kItem = QStringLiteral("_Item");

// Face names hold at most 31 characters; never cut a surrogate pair in two.
QString faceName(const QString& text)
{
    constexpr qsizetype kMax = 31;
    if (text.size() <= kMax)
        return text;
    const qsizetype keep = text.at(kMax - 1).isHighSurrogate() ? kMax - 1 : kMax;
    return text.left(keep);
}

QString lineIdent(const QString& ident, int index)
{
    return ident + kItem + QString::number(index);
}

} // namespace

QString TIniAccess::ReadString(const QString& section, const QString& ident, const QString& def) const
{
    return m_store ? m_store->get(section, ident, def) : ProfileFile::get(m_fileName, section, ident, def);
}

void TIniAccess::WriteString(const QString& section, const QString& ident, const QString& value) const
{
    if (m_store)
        m_store->put(section, ident, value);
    else
        ProfileFile::put(m_fileName, section, ident, value);
}

void TIniAccess::DeleteKey(const QString& section, const QString& ident) const
{
    if (m_store)
        m_store->remove(section, ident);
    else
        ProfileFile::remove(m_fileName, section, ident);
}

std::optional<UserRegistry::Key> TRegFiler::CreateRegistryAccess()
{
    if (m_manager->RegType() == TRegType::rtReg && !m_manager->RegDir().isEmpty())
        return m_manager->Registry().openKey(m_manager->RegDir());
    m_manager->Messages().error(QStringLiteral("can not create Registry object."));
    return std::nullopt;
}

std::optional<TIniAccess> TRegFiler::CreateIniAccess()
{
    if (m_manager->RegType() == TRegType::rtIni && !m_manager->IniFileName().isEmpty())
        return TIniAccess(m_manager->IniFileName(), m_manager->IniStoreInUse());
    m_manager->Messages().error(QStringLiteral("can not create Inifile object."));
    return std::nullopt;
}

QString TRegFiler::ReadValue(const QString& section, const QString& ident, const QString& def)
{
    if (section.isEmpty() || ident.isEmpty())
        return def;
    switch (m_manager->RegType()) {
    case TRegType::rtReg: {
        std::optional<UserRegistry::Key> key = CreateRegistryAccess();
        if (!key)
            return def;
        QString result = def;
        // A read never creates the section's subkey.
        if (std::optional<UserRegistry::Key> sub = key->openSubKey(section)) {
            if (sub->valueInfo(ident).exists())
                result = sub->readString(ident);
            sub->close();
        }
        key->close();
        return result;
    }
    case TRegType::rtIni: {
        const std::optional<TIniAccess> ini = CreateIniAccess();
        return ini ? ini->ReadString(section, ident, def) : def;
    }
    }
    return def;
}

void TRegFiler::WriteValue(const QString& section, const QString& ident, const QString& value)
{
    if (section.isEmpty() || ident.isEmpty())
        return;
    switch (m_manager->RegType()) {
    case TRegType::rtReg: {
        std::optional<UserRegistry::Key> key = CreateRegistryAccess();
        if (!key)
            return;
        UserRegistry::Key sub = key->createSubKey(section);
        sub.writeString(ident, value);
        sub.close();
        key->close();
        return;
    }
    case TRegType::rtIni:
        if (const std::optional<TIniAccess> ini = CreateIniAccess())
            ini->WriteString(section, ident, value);
        return;
    }
}

void TRegFiler::DeleteValue(const QString& section, const QString& ident)
{
    if (section.isEmpty() || ident.isEmpty())
        return;
    switch (m_manager->RegType()) {
    case TRegType::rtReg: {
        std::optional<UserRegistry::Key> key = CreateRegistryAccess();
        if (!key)
            return;
        if (std::optional<UserRegistry::Key> sub = key->openSubKey(section)) {
            sub->deleteValue(ident);
            sub->close();
        }
        key->close();
        return;
    }
    case TRegType::rtIni:
        if (const std::optional<TIniAccess> ini = CreateIniAccess())
            ini->DeleteKey(section, ident);
        return;
    }
}

bool TRegFiler::ReadBool()
{
    if (!m_item)
        return false;
    // Only the default understands words; a stored value is a number.
    const QString& fallback = m_item->DefaultValue();
    const bool yes =
        SameTextAscii(fallback, u"1") || SameTextAscii(fallback, u"TRUE") || SameTextAscii(fallback, u"YES");
    const QString text =
        ReadValue(m_item->Section(), m_item->Ident(), yes ? QStringLiteral("1") : QStringLiteral("0"));
    return (IntegerOr(text, 0) & 0xFF) != 0;
}

void TRegFiler::WriteBool(bool value)
{
    if (m_item)
        WriteValue(m_item->Section(), m_item->Ident(), value ? QStringLiteral("1") : QStringLiteral("0"));
}

qint32 TRegFiler::ReadInteger()
{
    if (!m_item)
        return 0;
    return IntegerOr(ReadValue(m_item->Section(), m_item->Ident(), m_item->DefaultValue()), 0);
}

void TRegFiler::WriteInteger(qint32 value)
{
    if (m_item)
        WriteValue(m_item->Section(), m_item->Ident(), QString::number(value));
}

QString TRegFiler::ReadString()
{
    if (!m_item)
        return {};
    return ReadValue(m_item->Section(), m_item->Ident(), m_item->DefaultValue());
}

void TRegFiler::WriteString(const QString& value)
{
    if (m_item)
        WriteValue(m_item->Section(), m_item->Ident(), value);
}

void TRegFiler::ReadFont(TFont& font)
{
    if (!m_item)
        return;
    const QString section = m_item->Section();
    const QString ident = m_item->Ident();
    // Every default is the font as it was, taken before any field changes.
    const QString defName = font.Name;
    const QString defSize = QString::number(font.Size);
    const QString defColor = ColorToString(font.Color);
    const QString defStyle = QString::number(font.Style);
    const QString defCharset = QString::number(font.Charset);

    const QString name = ReadValue(section, ident + kFontName, defName);
    if (!name.isEmpty())
        font.Name = faceName(name);
    font.Size = IntegerOr(ReadValue(section, ident + kFontSize, defSize), font.Size);
    font.Color = StringToColor(ReadValue(section, ident + kFontColor, defColor));
    font.Style = static_cast<quint8>(IntegerOr(ReadValue(section, ident + kFontStyle, defStyle), 0) & 0xFF);
    font.Charset =
        static_cast<quint8>(IntegerOr(ReadValue(section, ident + kFontCharset, defCharset), 0) & 0xFF);
}

void TRegFiler::WriteFont(const TFont& font)
{
    if (!m_item)
        return;
    const QString section = m_item->Section();
    const QString ident = m_item->Ident();
    WriteValue(section, ident + kFontName, font.Name);
    WriteValue(section, ident + kFontSize, QString::number(font.Size));
    WriteValue(section, ident + kFontColor, ColorToString(font.Color));
    WriteValue(section, ident + kFontStyle, QString::number(font.Style));
    WriteValue(section, ident + kFontCharset, QString::number(font.Charset));
}

int TRegFiler::readLineCount()
{
    return IntegerOr(ReadValue(m_item->Section(), m_item->Ident() + kItemCount, QStringLiteral("0")), 0);
}

void TRegFiler::ReadStrings(QStringList& list)
{
    if (!m_item)
        return;
    list.clear();
    const int count = std::min(readLineCount(), kMaxStoredLines);
    const QString section = m_item->Section();
    const QString ident = m_item->Ident();
    for (int i = 0; i < count; ++i)
        list.append(ReadValue(section, lineIdent(ident, i), QString()));
}

void TRegFiler::WriteStrings(const QStringList& list)
{
    if (!m_item)
        return;
    const int oldCount = readLineCount();
    const int newCount = static_cast<int>(list.size());
    const QString section = m_item->Section();
    const QString ident = m_item->Ident();
    if (newCount < oldCount) {
        for (int i = std::min(oldCount, kMaxStoredLines) - 1; i >= newCount; --i)
            DeleteValue(section, lineIdent(ident, i));
        if (newCount == 0)
            DeleteValue(section, ident + kItemCount);
    }
    if (newCount > 0) {
        WriteValue(section, ident + kItemCount, QString::number(newCount));
        for (int i = 0; i < newCount; ++i)
            WriteValue(section, lineIdent(ident, i), list.at(i));
    }
}
