#include "settings/RegMng.h"

#include "platform/Failure.h"
#include "platform/IniStore.h"
#include "platform/MessageService.h"

void TRegItem::Assign(const TPersistent* source)
{
    if (const auto* item = dynamic_cast<const TRegItem*>(source)) {
        m_name = item->m_name;
        m_section = item->m_section;
        m_ident = item->m_ident;
        m_defaultValue = item->m_defaultValue;
        return;
    }
    TPersistent::Assign(source);
}

int TRegItem::Index() const
{
    return m_collection ? m_collection->IndexOf(this) : -1;
}

TRegItems::~TRegItems()
{
    Clear();
}

TRegItem* TRegItems::Add()
{
    auto item = std::make_unique<TRegItem>();
    item->m_collection = this;
    m_items.push_back(std::move(item));
    return m_items.back().get();
}

void TRegItems::Delete(int index)
{
    checkIndex(index);
    forget(m_items[static_cast<size_t>(index)].get());
    m_items.erase(m_items.begin() + index);
}

void TRegItems::Clear()
{
    for (const auto& item : m_items)
        forget(item.get());
    m_items.clear();
}

int TRegItems::IndexOf(const TRegItem* item) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == item)
            return static_cast<int>(i);
    return -1;
}

TRegItem* TRegItems::GetItem(int index) const
{
    checkIndex(index);
    return m_items[static_cast<size_t>(index)].get();
}

void TRegItems::SetItem(int index, const TRegItem* value)
{
    GetItem(index)->Assign(value);
}

TRegItem* TRegItems::FindItem(const QString& name) const
{
    for (int i = 0; i < Count(); ++i) {
        TRegItem* item = GetItem(i);
        if (item->Name().compare(name, Qt::CaseInsensitive) == 0)
            return item;
    }
    return nullptr;
}

void TRegItems::checkIndex(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(QStringLiteral("リストのインデックスが範囲を超えています (%1)").arg(index));
}

void TRegItems::forget(const TRegItem* item)
{
    if (m_owner)
        m_owner->itemRemoved(item);
}

TRegManager::TRegManager(MessageService& messages, QObject* owner)
    : QObject(owner), m_messages(messages), m_regItems(std::make_unique<TRegItems>(this))
{
}

TRegManager::~TRegManager()
{
    m_regItems.reset();
    m_filer.reset();
}

std::unique_ptr<TRegFiler> TRegManager::CreateFiler()
{
    return std::make_unique<TRegFiler>(this);
}

TRegFiler& TRegManager::filer()
{
    if (!m_filer)
        m_filer = CreateFiler();
    if (!m_filer) // a derived manager that gave none still gets a filer that works
        m_filer = std::make_unique<TRegFiler>(this);
    return *m_filer;
}

IniStore* TRegManager::IniStoreInUse() const
{
    return m_iniStore && m_iniStore->path() == m_iniFileName ? m_iniStore : nullptr;
}

TRegFiler& TRegManager::GetFiler(const QString& name)
{
    TRegItem* item = m_regItems->FindItem(name);
    if (!item)
        m_messages.error(QStringLiteral("[' ") + name + QStringLiteral(" '] is invalid."));
    TRegFiler& result = filer();
    result.SetItem(item);
    return result;
}

void TRegManager::itemRemoved(const TRegItem* item)
{
    if (m_filer && m_filer->Item() == item)
        m_filer->SetItem(nullptr);
}
