// The filer's stream and component slots.
#include "settings/ComponentImages.h"
#include "settings/HStreamUtils.h"
#include "settings/RegMng.h"

#include "platform/IniStore.h"

#include <QBuffer>

void TRegFiler::ReadStream(QIODevice* stream)
{
    if (!stream || !m_item || m_item->Section().isEmpty() || m_item->Ident().isEmpty())
        return;
    switch (m_manager->RegType()) {
    case TRegType::rtReg:
        HStreamUtils::ReadStreamFromRegistry(*stream, m_manager->Registry(), m_manager->RegDir(),
                                             m_item->Section(), m_item->Ident());
        return;
    case TRegType::rtIni:
        if (const IniStore* store = m_manager->IniStoreInUse())
            HStreamUtils::ReadStreamFromIni(*stream, *store, m_item->Section(), m_item->Ident());
        else
            HStreamUtils::ReadStreamFromIni(*stream, m_manager->IniFileName(), m_item->Section(),
                                            m_item->Ident());
        return;
    }
}

void TRegFiler::WriteStream(QIODevice* stream)
{
    if (!stream || !m_item || m_item->Section().isEmpty() || m_item->Ident().isEmpty())
        return;
    switch (m_manager->RegType()) {
    case TRegType::rtReg:
        HStreamUtils::WriteStreamToRegistry(*stream, m_manager->Registry(), m_manager->RegDir(),
                                            m_item->Section(), m_item->Ident());
        return;
    case TRegType::rtIni:
        if (IniStore* store = m_manager->IniStoreInUse())
            HStreamUtils::WriteStreamToIni(*stream, *store, m_item->Section(), m_item->Ident());
        else
            HStreamUtils::WriteStreamToIni(*stream, m_manager->IniFileName(), m_item->Section(),
                                           m_item->Ident());
        return;
    }
}

QWidget* TRegFiler::ReadComponent(QWidget* control)
{
    const TComponentImages* images = m_manager->ComponentImages();
    if (!control || !m_item || !images || images->IsForm(control))
        return nullptr;
    QBuffer image;
    image.open(QIODevice::ReadWrite);
    ReadStream(&image);
    if (image.size() == 0)
        return nullptr;
    // The read left the position after the bytes it added; the image starts at the beginning.
    image.seek(0);
    return images->ReadComponentImage(image, control);
}

void TRegFiler::WriteComponent(QWidget* component)
{
    if (!component || !m_item)
        return;
    const TComponentImages* images = m_manager->ComponentImages();
    if (!images)
        throw EFilerError(QStringLiteral("コンポーネントを保存できません"));
    if (images->IsForm(component))
        return;
    QBuffer image;
    image.open(QIODevice::ReadWrite);
    images->WriteComponentImage(component, image);
    image.seek(0);
    WriteStream(&image);
}
