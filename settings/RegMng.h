#pragma once

#include "settings/Font.h"
#include "settings/Persistent.h"

#include "platform/UserRegistry.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class IniStore;
class MessageService;
class QIODevice;
class QWidget;
class TComponentImages;
class TRegFiler;
class TRegItems;
class TRegManager;

// Which store every access of a manager uses.
enum class TRegType : quint8 { rtReg = 0, rtIni = 1 };

// One named setting: where it lives (Section, Ident) and the fallback of its simple values.
class TRegItem : public TPersistent {
public:
    // Items normally come from TRegItems::Add; a free one serves as a source for SetItem.
    TRegItem() = default;
    TRegItem(const TRegItem&) = delete;
    TRegItem& operator=(const TRegItem&) = delete;

    QString ClassName() const override { return QStringLiteral("TRegItem"); }
    // Copies the four texts from another TRegItem; any other source is rejected.
    void Assign(const TPersistent* source) override;

    TRegItems* Collection() const { return m_collection; }
    // Position in the collection, -1 for a free item.
    int Index() const;

    const QString& Name() const { return m_name; }
    void SetName(const QString& value) { m_name = value; }
    const QString& Section() const { return m_section; }
    void SetSection(const QString& value) { m_section = value; }
    const QString& Ident() const { return m_ident; }
    void SetIdent(const QString& value) { m_ident = value; }
    const QString& DefaultValue() const { return m_defaultValue; }
    void SetDefaultValue(const QString& value) { m_defaultValue = value; }

private:
    friend class TRegItems;
    TRegItems* m_collection = nullptr;
    QString m_name;
    QString m_section;
    QString m_ident;
    QString m_defaultValue;
};

// The items of a manager, owned by it.
class TRegItems : public TPersistent {
public:
    explicit TRegItems(TRegManager* owner = nullptr) : m_owner(owner) {}
    ~TRegItems() override;
    TRegItems(const TRegItems&) = delete;
    TRegItems& operator=(const TRegItems&) = delete;

    QString ClassName() const override { return QStringLiteral("TRegItems"); }

    int Count() const { return static_cast<int>(m_items.size()); }
    // Appends an empty item and returns it; the collection owns it.
    TRegItem* Add();
    // Out-of-range indexes raise EListError, as GetItem does.
    void Delete(int index);
    void Clear();
    int IndexOf(const TRegItem* item) const;

    // Out-of-range indexes raise EListError "リストのインデックスが範囲を超えています (index)".
    virtual TRegItem* GetItem(int index) const;
    // Copies value into the item at the index by Assign.
    virtual void SetItem(int index, const TRegItem* value);
    // The first item whose Name equals the name ignoring letter case, or null.
    virtual TRegItem* FindItem(const QString& name) const;

private:
    void checkIndex(int index) const;
    // An item on its way out must not stay the filer's current item.
    void forget(const TRegItem* item);

    TRegManager* m_owner = nullptr;
    std::vector<std::unique_ptr<TRegItem>> m_items;
};

// An open INI file: the path; each call opens, reads or writes, and closes the file, unless a
// store of that file serves the calls instead.
class TIniAccess final {
public:
    explicit TIniAccess(QString fileName, IniStore* store = nullptr)
        : m_fileName(std::move(fileName)), m_store(store)
    {
    }
    QString ReadString(const QString& section, const QString& ident, const QString& def) const;
    // A refused write throws EInOutError "<path> に書き込めません".
    void WriteString(const QString& section, const QString& ident, const QString& value) const;
    void DeleteKey(const QString& section, const QString& ident) const;

private:
    QString m_fileName;
    IniStore* m_store = nullptr;
};

// The typed reader and writer of the manager's current item. Every typed operation reaches the
// store through ReadValue and WriteValue (virtual, so a derived filer sees them all) and
// DeleteValue; each of those opens the store, does one thing and closes it again.
class TRegFiler : public TObject {
public:
    explicit TRegFiler(TRegManager* manager) : m_manager(manager) {}
    TRegFiler(const TRegFiler&) = delete;
    TRegFiler& operator=(const TRegFiler&) = delete;

    QString ClassName() const override { return QStringLiteral("TRegFiler"); }

    TRegManager* Manager() const { return m_manager; }
    TRegItem* Item() const { return m_item; }
    void SetItem(TRegItem* item) { m_item = item; }

    // Slots in this order; without a current item the typed ones do nothing or give
    // false, 0 or empty text.
    virtual QString ReadValue(const QString& section, const QString& ident, const QString& def);
    virtual void WriteValue(const QString& section, const QString& ident, const QString& value);
    virtual bool ReadBool();
    virtual void WriteBool(bool value);
    virtual qint32 ReadInteger();
    virtual void WriteInteger(qint32 value);
    virtual QString ReadString();
    virtual void WriteString(const QString& value);
    // Keeps the font's own values where keys are missing; an unknown colour text throws
    // EConvertError after name and size have been set.
    virtual void ReadFont(TFont& font);
    virtual void WriteFont(const TFont& font);
    // Replaces the list with the stored lines.
    virtual void ReadStrings(QStringList& list);
    // Stores the lines and removes stale ones, so a following ReadStrings returns the same lines.
    virtual void WriteStrings(const QStringList& list);
    // Counted hex lines in the INI file or one binary value in the registry. A read adds the
    // stored bytes at the stream's position and neither clears nor rewinds it; a write stores
    // the bytes from the position to the end.
    virtual void ReadStream(QIODevice* stream);
    virtual void WriteStream(QIODevice* stream);
    // Replaces the control by the stored image and returns the new control (the old one is
    // destroyed), or null when nothing was stored or the image was damaged: the control stays.
    virtual QWidget* ReadComponent(QWidget* control);
    // A top-level window stores nothing. Throws EFilerError when the manager has no component
    // images or the component holds something that cannot be stored.
    virtual void WriteComponent(QWidget* component);

    // Show "can not create Registry object." / "can not create Inifile object." and give
    // nothing when the manager is not set up for that store.
    std::optional<UserRegistry::Key> CreateRegistryAccess();
    std::optional<TIniAccess> CreateIniAccess();
    void DeleteValue(const QString& section, const QString& ident);

private:
    // A stored count beyond this is damage, not a list; reading or deleting that many values
    // would hang the program.
    static constexpr int kMaxStoredLines = 10000;
    int readLineCount();

    TRegManager* m_manager = nullptr;
    TRegItem* m_item = nullptr;
};

// Knows where settings live and hands out its one filer pointed at a named item.
class TRegManager : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString IniFileName READ IniFileName WRITE SetIniFileName)
    Q_PROPERTY(QString RegDir READ RegDir WRITE SetRegDir)
    Q_PROPERTY(TRegType RegType READ RegType WRITE SetRegType)

public:
    // Boxes go to messages, which must outlive the manager; owner is the QObject parent.
    explicit TRegManager(MessageService& messages, QObject* owner = nullptr);
    ~TRegManager() override;

    const QString& IniFileName() const { return m_iniFileName; }
    void SetIniFileName(const QString& value) { m_iniFileName = value; }
    const QString& RegDir() const { return m_regDir; }
    void SetRegDir(const QString& value) { m_regDir = value; }
    TRegItems& RegItems() { return *m_regItems; }
    const TRegItems& RegItems() const { return *m_regItems; }
    TRegType RegType() const { return m_regType; }
    void SetRegType(TRegType value) { m_regType = value; }

    // While set, every access of the INI file goes to this store instead (not owned; null for
    // none), so many reads or writes cost one read or one write of the file. It serves only the
    // file it belongs to: with another IniFileName the file itself is used.
    void SetIniStore(IniStore* store) { m_iniStore = store; }
    // The store set for the current IniFileName, or null.
    IniStore* IniStoreInUse() const;

    // The store behind rtReg; the current user's by default.
    const UserRegistry& Registry() const { return m_registry; }
    void SetRegistry(UserRegistry registry) { m_registry = std::move(registry); }
    MessageService& Messages() const { return m_messages; }
    // How components are stored; not owned, null until the widget side sets it.
    const TComponentImages* ComponentImages() const { return m_componentImages; }
    void SetComponentImages(const TComponentImages* images) { m_componentImages = images; }

    // Points the filer at the item named so (ignoring letter case), or at none after showing
    // "[' name '] is invalid."; never null.
    TRegFiler& GetFiler(const QString& name);

protected:
    // Derived managers may hand out a derived filer. Called once, on first use, so that the
    // override of a derived manager is the one that runs.
    virtual std::unique_ptr<TRegFiler> CreateFiler();

private:
    friend class TRegItems;
    TRegFiler& filer();
    void itemRemoved(const TRegItem* item);

    MessageService& m_messages;
    UserRegistry m_registry;
    const TComponentImages* m_componentImages = nullptr;
    IniStore* m_iniStore = nullptr;
    QString m_iniFileName;
    QString m_regDir;
    TRegType m_regType = TRegType::rtReg;
    // Declared before the items so the items go first when the manager is destroyed.
    std::unique_ptr<TRegFiler> m_filer;
    std::unique_ptr<TRegItems> m_regItems;
};
