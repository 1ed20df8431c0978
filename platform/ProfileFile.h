#pragma once

#include "platform/IniStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

// One value of an INI file at a time, with the semantics of the Windows profile functions:
// section and key names ignore letter case, a missing file, section or key reads as the default,
// values come back without surrounding blanks and one pair of enclosing double quotes, cut to
// 2047 bytes of code page text; a default comes back without its trailing blanks. A file saved
// as UTF-16 with a byte order mark is read and written back as such. Writes keep every other
// line as it was and replace the file atomically.
// A write that fails throws EInOutError "<path> に書き込めません".
namespace ProfileFile {

QString get(const QString& path, const QString& section, const QString& key, const QString& def);
void put(const QString& path, const QString& section, const QString& key, const QString& value);
// Removing a missing key (or from a missing file) is no error and writes nothing.
void remove(const QString& path, const QString& section, const QString& key);

// Integers: decimal with optional sign, or "0x"/"$" followed by hex digits; else the default.
int getInt(const QString& path, const QString& section, const QString& key, int def);
void putInt(const QString& path, const QString& section, const QString& key, int value);
// Booleans are written "1"/"0" and read as integers, anything but 0 meaning true.
bool getBool(const QString& path, const QString& section, const QString& key, bool def);
void putBool(const QString& path, const QString& section, const QString& key, bool value);

// Parses an integer as getInt does; false when the text is not one.
bool parseInt(const QString& text, int* value);

} // namespace ProfileFile

// Reads the file once, serves many gets and puts from memory, writes once at commit().
class ProfileBatch final : public IniStore {
public:
    explicit ProfileBatch(QString path);
    ~ProfileBatch() override;
    ProfileBatch(const ProfileBatch&) = delete;
    ProfileBatch& operator=(const ProfileBatch&) = delete;

    const QString& path() const override;
    QString get(const QString& section, const QString& key, const QString& def) const override;
    void put(const QString& section, const QString& key, const QString& value) override;
    void remove(const QString& section, const QString& key) override;
    // How many puts and removes have changed the text so far, so a caller can tell which of its
    // steps had something to store.
    int changeCount() const;
    // Writes the file in one replace if anything changed and the bytes differ from the file's;
    // throws EInOutError like ProfileFile::put.
    void commit();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
