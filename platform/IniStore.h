#pragma once

#include <QString>

// Where the values of one INI file are read and written: the file itself, one value per access,
// or a copy held in memory that reaches the file at once. Callers that take a store work the
// same on both, so a sequence of accesses can be served by one read and one write.
class IniStore {
public:
    virtual ~IniStore() = default;

    // The file the values belong to.
    virtual const QString& path() const = 0;
    // The value with the profile functions' reading rule, or the default.
    virtual QString get(const QString& section, const QString& key, const QString& def) const = 0;
    // A refused write throws EInOutError "<path> に書き込めません".
    virtual void put(const QString& section, const QString& key, const QString& value) = 0;
    // Removing a missing key is no error.
    virtual void remove(const QString& section, const QString& key) = 0;

    // Integers: decimal with optional sign, or "0x"/"$" followed by hex digits; else the default.
    int getInt(const QString& section, const QString& key, int def) const;
    void putInt(const QString& section, const QString& key, int value);
    // Booleans are written "1"/"0" and read as integers, anything but 0 meaning true.
    bool getBool(const QString& section, const QString& key, bool def) const;
    void putBool(const QString& section, const QString& key, bool value);
};

// The file itself: every access opens it, reads or writes one value, and closes it again.
class ProfileFileStore final : public IniStore {
public:
    explicit ProfileFileStore(QString path) : m_path(std::move(path)) {}

    const QString& path() const override { return m_path; }
    QString get(const QString& section, const QString& key, const QString& def) const override;
    void put(const QString& section, const QString& key, const QString& value) override;
    void remove(const QString& section, const QString& key) override;

private:
    QString m_path;
};
