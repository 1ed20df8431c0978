#include "platform/UserRegistry.h"

#include "platform/AnsiText.h"
#include "platform/Failure.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QList>
#include <QSet>

#include <utility>
#include <vector>

namespace {

const QString kFormat = QStringLiteral("QuavScheduler user registry");
constexpr int kVersion = 1;

QString settingFailed(const QString& valueName)
{
    return formatMessage(QStringLiteral("'%s' の設定に失敗しました"), valueName);
}

QStringList splitPath(const QString& path)
{
    return path.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
}

bool sameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString typeTag(UserRegistry::ValueType type)
{
    switch (type) {
    case UserRegistry::ValueType::String:
        return QStringLiteral("string");
    case UserRegistry::ValueType::Binary:
        return QStringLiteral("binary");
    case UserRegistry::ValueType::Integer:
        return QStringLiteral("integer");
    case UserRegistry::ValueType::None:
        break;
    }
    return {};
}

} // namespace

struct UserRegistry::Key::Node {
    struct Value {
        QString name;
        ValueType type = ValueType::None;
        QString text;
        QByteArray bytes;
        quint32 number = 0;
    };

    QString name;
    Node* parent = nullptr;
    std::vector<std::unique_ptr<Node>> keys;
    std::vector<Value> values;

    Node* findKey(const QString& wanted) const
    {
        for (const auto& key : keys)
            if (sameName(key->name, wanted))
                return key.get();
        return nullptr;
    }

    Value* findValue(const QString& wanted)
    {
        for (Value& value : values)
            if (sameName(value.name, wanted))
                return &value;
        return nullptr;
    }

    Node* addKey(const QString& keyName)
    {
        auto key = std::make_unique<Node>();
        key->name = keyName;
        key->parent = this;
        keys.push_back(std::move(key));
        return keys.back().get();
    }

    QString path() const
    {
        QStringList names;
        for (const Node* n = this; n->parent; n = n->parent)
            names.prepend(n->name);
        return names.join(QLatin1Char('\\'));
    }
};

namespace {

using Node = UserRegistry::Key::Node;

bool validName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('\\'));
}

// Strict: anything unexpected makes the whole file unusable, so it is never rewritten with less.
bool parseValue(const QString& name, const QJsonValue& json, Node::Value& value)
{
    if (!json.isObject())
        return false;
    const QJsonObject obj = json.toObject();
    const QString type = obj.value(QLatin1String("type")).toString();
    const QJsonValue data = obj.value(QLatin1String("data"));
    value.name = name;
    if (type == typeTag(UserRegistry::ValueType::String) && data.isString()) {
        value.type = UserRegistry::ValueType::String;
        value.text = data.toString();
        return true;
    }
    if (type == typeTag(UserRegistry::ValueType::Binary) && data.isString()) {
        const auto decoded = QByteArray::fromBase64Encoding(data.toString().toLatin1(),
                                                            QByteArray::AbortOnBase64DecodingErrors);
        value.type = UserRegistry::ValueType::Binary;
        value.bytes = decoded.decoded;
        return decoded.decodingStatus == QByteArray::Base64DecodingStatus::Ok;
    }
    if (type == typeTag(UserRegistry::ValueType::Integer) && data.isDouble()) {
        const double number = data.toDouble();
        if (number < 0 || number > 4294967295.0 || number != static_cast<double>(static_cast<qint64>(number)))
            return false;
        value.type = UserRegistry::ValueType::Integer;
        value.number = static_cast<quint32>(number);
        return true;
    }
    return false;
}

bool parseNode(const QJsonObject& obj, Node& node)
{
    const QJsonValue keys = obj.value(QLatin1String("keys"));
    const QJsonValue values = obj.value(QLatin1String("values"));
    if ((!keys.isUndefined() && !keys.isObject()) || (!values.isUndefined() && !values.isObject()))
        return false;

    QSet<QString> seen;
    const QJsonObject keyObj = keys.toObject();
    for (auto it = keyObj.begin(); it != keyObj.end(); ++it) {
        if (!validName(it.key()) || !it.value().isObject() || seen.contains(it.key().toCaseFolded()))
            return false;
        seen.insert(it.key().toCaseFolded());
        if (!parseNode(it.value().toObject(), *node.addKey(it.key())))
            return false;
    }

    seen.clear();
    const QJsonObject valueObj = values.toObject();
    for (auto it = valueObj.begin(); it != valueObj.end(); ++it) {
        if (seen.contains(it.key().toCaseFolded()))
            return false;
        seen.insert(it.key().toCaseFolded());
        Node::Value value;
        if (!parseValue(it.key(), it.value(), value))
            return false;
        node.values.push_back(std::move(value));
    }
    return true;
}

QJsonObject toJson(const Node& node)
{
    QJsonObject obj;
    if (!node.keys.empty()) {
        QJsonObject keys;
        for (const auto& key : node.keys)
            keys.insert(key->name, toJson(*key));
        obj.insert(QLatin1String("keys"), keys);
    }
    if (!node.values.empty()) {
        QJsonObject values;
        for (const Node::Value& value : node.values) {
            QJsonObject v;
            v.insert(QLatin1String("type"), typeTag(value.type));
            switch (value.type) {
            case UserRegistry::ValueType::String:
                v.insert(QLatin1String("data"), value.text);
                break;
            case UserRegistry::ValueType::Binary:
                v.insert(QLatin1String("data"), QString::fromLatin1(value.bytes.toBase64()));
                break;
            case UserRegistry::ValueType::Integer:
                v.insert(QLatin1String("data"), static_cast<qint64>(value.number));
                break;
            case UserRegistry::ValueType::None:
                break;
            }
            values.insert(value.name, v);
        }
        obj.insert(QLatin1String("values"), values);
    }
    return obj;
}

} // namespace

// The tree loaded by one openKey() and shared by the handles opened from it.
struct UserRegistry::Key::Session {
    QString filePath;
    Observer observer;
    Node root;
    // False when the file could not be read or parsed, or a flush failed: nothing is written then.
    bool writable = true;
    QList<Change> pending;

    void load()
    {
        if (!QFileInfo::exists(filePath))
            return;
        QByteArray bytes;
        try {
            bytes = AnsiText::readBytes(filePath);
        } catch (const EInOutError&) {
            writable = false;
            return;
        }
        if (bytes.trimmed().isEmpty())
            return;
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(bytes, &error);
        const QJsonObject top = doc.object();
        const bool ok = error.error == QJsonParseError::NoError && doc.isObject() &&
                        top.value(QLatin1String("format")).toString() == kFormat &&
                        top.value(QLatin1String("version")).toInt() == kVersion &&
                        top.value(QLatin1String("root")).isObject() &&
                        parseNode(top.value(QLatin1String("root")).toObject(), root);
        if (!ok) {
            root.keys.clear();
            root.values.clear();
            writable = false;
        }
    }

    void record(Change::Kind kind, const Node& node, const QString& valueName = {})
    {
        pending.append(Change{kind, node.path(), valueName});
    }

    void flush()
    {
        if (pending.isEmpty())
            return;
        const QList<Change> changes = std::exchange(pending, {});
        const Change* firstValue = nullptr;
        for (const Change& c : changes) {
            if (c.kind != Change::Kind::CreateKey) {
                firstValue = &c;
                break;
            }
        }
        bool written = false;
        if (writable && QDir().mkpath(QFileInfo(filePath).absolutePath())) {
            QJsonObject top;
            top.insert(QLatin1String("format"), kFormat);
            top.insert(QLatin1String("version"), kVersion);
            top.insert(QLatin1String("root"), toJson(root));
            try {
                AnsiText::writeBytes(filePath, QJsonDocument(top).toJson(QJsonDocument::Indented));
                written = true;
            } catch (const EInOutError&) {
            }
        }
        if (!written) {
            writable = false;
            if (firstValue)
                throw ERegistryError(settingFailed(firstValue->valueName));
            return;
        }
        if (observer)
            for (const Change& c : changes)
                observer(c);
    }
};

UserRegistry::UserRegistry() : UserRegistry(defaultFilePath()) {}

UserRegistry::UserRegistry(QString filePath) : m_filePath(std::move(filePath)) {}

QString UserRegistry::defaultFilePath()
{
    // XDG: a relative XDG_CONFIG_HOME is to be ignored.
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || QDir::isRelativePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return QDir(base).filePath(QStringLiteral("QuavScheduler/UserRegistry.json"));
}

UserRegistry::Key UserRegistry::openKey(const QString& path) const
{
    auto session = std::make_shared<Key::Session>();
    session->filePath = m_filePath;
    session->observer = m_observer;
    session->load();
    Key root(session, &session->root);
    Key opened = root.createSubKey(path);
    // The root handle only walked the path; closing it here would flush too early.
    root.m_session.reset();
    root.m_node = nullptr;
    return opened;
}

UserRegistry::Key::Key(std::shared_ptr<Session> session, Node* node)
    : m_session(std::move(session)), m_node(node)
{
}

UserRegistry::Key::Key(Key&& other) noexcept
    : m_session(std::move(other.m_session)), m_node(std::exchange(other.m_node, nullptr))
{
}

UserRegistry::Key& UserRegistry::Key::operator=(Key&& other) noexcept
{
    if (this != &other) {
        try {
            close();
        } catch (const EQuavError&) {
        }
        m_session = std::move(other.m_session);
        m_node = std::exchange(other.m_node, nullptr);
    }
    return *this;
}

UserRegistry::Key::~Key()
{
    // Reached on the failure path; the failure already on its way matters more than this one.
    try {
        close();
    } catch (const EQuavError&) {
    }
}

void UserRegistry::Key::refuse(const QString& valueName)
{
    throw ERegistryError(settingFailed(valueName));
}

QString UserRegistry::Key::path() const
{
    return m_node ? m_node->path() : QString();
}

UserRegistry::Key UserRegistry::Key::createSubKey(const QString& path)
{
    if (!m_session)
        return Key(nullptr, nullptr);
    Node* node = m_node;
    for (const QString& name : splitPath(path)) {
        Node* next = node->findKey(name);
        if (!next) {
            next = node->addKey(name);
            m_session->record(Change::Kind::CreateKey, *next);
        }
        node = next;
    }
    return Key(m_session, node);
}

std::optional<UserRegistry::Key> UserRegistry::Key::openSubKey(const QString& path) const
{
    if (!m_session)
        return std::nullopt;
    Node* node = m_node;
    for (const QString& name : splitPath(path)) {
        node = node->findKey(name);
        if (!node)
            return std::nullopt;
    }
    return Key(m_session, node);
}

UserRegistry::ValueInfo UserRegistry::Key::valueInfo(const QString& name) const
{
    const Node::Value* value = m_node ? m_node->findValue(name) : nullptr;
    if (!value)
        return {};
    switch (value->type) {
    case ValueType::String:
        return {value->type, (value->text.size() + 1) * 2};
    case ValueType::Binary:
        return {value->type, value->bytes.size()};
    case ValueType::Integer:
        return {value->type, 4};
    case ValueType::None:
        break;
    }
    return {};
}

QString UserRegistry::Key::readString(const QString& name) const
{
    const Node::Value* value = m_node ? m_node->findValue(name) : nullptr;
    if (!value)
        return {};
    if (value->type != ValueType::String)
        throw ERegistryError(formatMessage(QStringLiteral("'%s' のデータ型が不正です"), name));
    return value->text;
}

QByteArray UserRegistry::Key::readBinary(const QString& name) const
{
    const Node::Value* value = m_node ? m_node->findValue(name) : nullptr;
    if (!value)
        return {};
    if (value->type != ValueType::Binary)
        throw ERegistryError(formatMessage(QStringLiteral("'%s' のデータ型が不正です"), name));
    return value->bytes;
}

void UserRegistry::Key::store(const QString& name, ValueType type, const QString& text,
                              const QByteArray& bytes)
{
    if (!m_node)
        refuse(name);
    Node::Value* value = m_node->findValue(name);
    if (!value) {
        m_node->values.emplace_back();
        value = &m_node->values.back();
        value->name = name;
    }
    *value = Node::Value{value->name, type, text, bytes, 0};
    m_session->record(Change::Kind::SetValue, *m_node, value->name);
}

void UserRegistry::Key::writeString(const QString& name, const QString& text)
{
    store(name, ValueType::String, text, {});
}

void UserRegistry::Key::writeBinary(const QString& name, const QByteArray& bytes)
{
    store(name, ValueType::Binary, {}, bytes);
}

bool UserRegistry::Key::deleteValue(const QString& name)
{
    if (!m_node)
        refuse(name);
    for (auto it = m_node->values.begin(); it != m_node->values.end(); ++it) {
        if (sameName(it->name, name)) {
            const QString stored = it->name;
            m_node->values.erase(it);
            m_session->record(Change::Kind::DeleteValue, *m_node, stored);
            return true;
        }
    }
    return false;
}

void UserRegistry::Key::close()
{
    const std::shared_ptr<Session> session = std::move(m_session);
    m_node = nullptr;
    if (session)
        session->flush();
}
