#pragma once

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

// A per-user hierarchical store standing in for HKEY_CURRENT_USER: keys named by
// backslash-separated paths, names compared without regard to letter case, values of string,
// binary or 32-bit integer type. The whole tree lives in one JSON file that is read when a key is
// opened and replaced atomically by close() when changes are pending.
//
// A file that cannot be read or parsed reads as an empty tree, and every write to it is refused
// (ERegistryError) rather than replacing the user's file with a fresh one.
class UserRegistry final {
public:
    enum class ValueType { None, String, Binary, Integer };

    struct ValueInfo {
        ValueType type = ValueType::None;
        // Data size in bytes: strings as UTF-16 with the terminating NUL, integers 4.
        qint64 size = 0;
        bool exists() const { return type != ValueType::None; }
    };

    // A change that reached the file, reported after the flush that wrote it.
    struct Change {
        enum class Kind { CreateKey, SetValue, DeleteValue };
        Kind kind = Kind::SetValue;
        QString keyPath; // full path below the root, names as stored
        QString valueName;
    };
    using Observer = std::function<void(const Change&)>;

    class Key;

    // The store of the current user: $XDG_CONFIG_HOME/QuavScheduler/UserRegistry.json.
    UserRegistry();
    explicit UserRegistry(QString filePath);

    static QString defaultFilePath();
    const QString& filePath() const { return m_filePath; }
    void setObserver(Observer observer) { m_observer = std::move(observer); }

    // Opens the key path below the root with full access, creating missing keys.
    Key openKey(const QString& path) const;

private:
    QString m_filePath;
    Observer m_observer;
};

// An open key. Handles opened from one another share the loaded tree; close() (or the destructor,
// which swallows failures) writes pending changes.
class UserRegistry::Key final {
public:
    // Implementation details of the loaded tree.
    struct Node;
    struct Session;

    Key(Key&& other) noexcept;
    Key& operator=(Key&& other) noexcept;
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key();

    // Full path of this key below the root.
    QString path() const;

    // Opens the subkey path, creating missing keys.
    Key createSubKey(const QString& path);
    // Opens the subkey path only if every key on it exists; never creates one.
    std::optional<Key> openSubKey(const QString& path) const;

    ValueInfo valueInfo(const QString& name) const;
    // Empty when the value is missing; ERegistryError "'name' のデータ型が不正です" when it is not a string.
    QString readString(const QString& name) const;
    void writeString(const QString& name, const QString& value);
    // Empty when missing; a string or integer value is a type error, like readString's.
    QByteArray readBinary(const QString& name) const;
    void writeBinary(const QString& name, const QByteArray& bytes);
    // False when there was no such value.
    bool deleteValue(const QString& name);

    // Writes pending changes of the shared tree. A refused write throws ERegistryError
    // "'name' の設定に失敗しました" naming the first value changed; pending changes are dropped then.
    // Keys created without any value change are not worth a failure: they are dropped silently.
    void close();

private:
    Key(std::shared_ptr<Session> session, Node* node);
    // A closed key reads as empty and refuses writes.
    [[noreturn]] static void refuse(const QString& valueName);
    void store(const QString& name, ValueType type, const QString& text, const QByteArray& bytes);

    std::shared_ptr<Session> m_session;
    Node* m_node = nullptr;

    friend class UserRegistry;
};
