// The settings manager over a store of its INI file: every typed value goes through the store,
// and a batch ends with the bytes the value-by-value accesses of the file leave.
#include "settings/RegMng.h"

#include "platform/ProfileFile.h"

#include "support/TestData.h"
#include "support/FileEvents.h"
#include "support/RecordingMessageService.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace Qt::StringLiterals;

class StoreManager {
public:
    explicit StoreManager(const QString& iniFileName) : m_manager(m_messages)
    {
        m_manager.SetRegType(TRegType::rtIni);
        m_manager.SetIniFileName(iniFileName);
        for (const auto& [name, ident] :
             {std::pair{u"MemoFont"_s, u"prop"_s}, std::pair{u"SchItem"_s, u"item"_s},
              std::pair{u"Blob"_s, u"bin"_s}}) {
            TRegItem* item = m_manager.RegItems().Add();
            item->SetName(name);
            item->SetSection(name);
            item->SetIdent(ident);
        }
    }

    TRegManager& manager() { return m_manager; }
    TRegFiler& filer(const QString& name) { return m_manager.GetFiler(name); }
    const RecordingMessageService& messages() const { return m_messages; }

    // One of each kind of value the filer stores.
    void writeAll(const TFont& font, const QStringList& lines, const QByteArray& blob)
    {
        filer(u"MemoFont"_s).WriteFont(font);
        filer(u"SchItem"_s).WriteStrings(lines);
        QBuffer stream;
        stream.setData(blob);
        stream.open(QIODevice::ReadOnly);
        filer(u"Blob"_s).WriteStream(&stream);
    }

private:
    RecordingMessageService m_messages;
    TRegManager m_manager;
};

TFont someFont()
{
    TFont font;
    font.Name = u"ＭＳ 明朝"_s;
    font.Size = 11;
    font.Style = 1;
    font.Charset = 128;
    return font;
}

struct StartFile {
    const char* name;
    std::optional<QByteArray> bytes;
};

TEST(RegFilerStore, batchEndsWithTheBytesOfValueByValueWrites)
{
    const StartFile files[] = {
        {"none", std::nullopt},
        {"from Windows", fixture("windows.ini")},
        {"by hand", fixture("handmade.ini")},
        {"UTF-16", "\xFF\xFE[\0S\0c\0h\0I\0t\0e\0m\0]\0\r\0\n\0i\0t\0e\0m\0_\0I\0t\0e\0m\0C\0o\0u\0n\0t\0=\0"
                   "5\0\r\0\n\0"_ba},
    };
    // Fewer lines than stored remove the stale ones; an empty stream removes its count.
    const QStringList lines{u"予定1"_s, u" padded "_s};
    for (const StartFile& file : files) {
        SCOPED_TRACE(file.name);
        TempFolder dir;
        if (file.bytes) {
            dir.write(u"single.ini"_s, *file.bytes);
            dir.write(u"batch.ini"_s, *file.bytes);
        }
        StoreManager single(dir.file(u"single.ini"_s));
        single.writeAll(someFont(), lines, "\x01\x02\xFF"_ba);

        StoreManager batched(dir.file(u"batch.ini"_s));
        ProfileBatch batch(dir.file(u"batch.ini"_s));
        batched.manager().SetIniStore(&batch);
        batched.writeAll(someFont(), lines, "\x01\x02\xFF"_ba);
        EXPECT_EQ(dir.exists(u"batch.ini"_s), file.bytes.has_value()); // nothing before the commit
        if (file.bytes) {
            EXPECT_EQ(dir.read(u"batch.ini"_s), *file.bytes);
        }
        batch.commit();
        EXPECT_EQ(dir.read(u"batch.ini"_s), dir.read(u"single.ini"_s));
        EXPECT_TRUE(batched.messages().shown().isEmpty());
    }
}

TEST(RegFilerStore, everyReadComesFromTheBatchWithOneReadOfTheFile)
{
    TempFolder dir;
    const QString ini = dir.file(u"QuavScheduler.ini"_s);
    StoreManager writer(ini);
    writer.writeAll(someFont(), {u"a"_s, u"b"_s, u"c"_s}, QByteArray(100, '\x5A'));

    FileEvents events(ini);
    StoreManager reader(ini);
    ProfileBatch batch(ini);
    reader.manager().SetIniStore(&batch);
    // A change made after the batch was read is not seen through it.
    ProfileFile::put(ini, u"SchItem"_s, u"item_Item0"_s, u"later"_s);
    events.take();

    TFont font;
    reader.filer(u"MemoFont"_s).ReadFont(font);
    QStringList lines;
    reader.filer(u"SchItem"_s).ReadStrings(lines);
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    reader.filer(u"Blob"_s).ReadStream(&stream);
    if (events.available()) {
        EXPECT_EQ(events.take().opened, 0);
    }
    EXPECT_EQ(font.Name, u"ＭＳ 明朝"_s);
    EXPECT_EQ(font.Size, 11);
    EXPECT_EQ(lines, (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    EXPECT_EQ(stream.data(), QByteArray(100, '\x5A'));

    // Without the store, the file again.
    reader.manager().SetIniStore(nullptr);
    reader.filer(u"SchItem"_s).ReadStrings(lines);
    EXPECT_EQ(lines.value(0), u"later"_s);
}

TEST(RegFilerStore, storeOfAnotherFileIsNotUsed)
{
    TempFolder dir;
    dir.write(u"other.ini"_s, "[SchItem]\r\nitem_ItemCount=1\r\nitem_Item0=other\r\n");
    dir.write(u"mine.ini"_s, "[SchItem]\r\nitem_ItemCount=1\r\nitem_Item0=mine\r\n");
    StoreManager m(dir.file(u"mine.ini"_s));
    ProfileBatch other(dir.file(u"other.ini"_s));
    m.manager().SetIniStore(&other);
    QStringList lines;
    m.filer(u"SchItem"_s).ReadStrings(lines);
    EXPECT_EQ(lines, QStringList{u"mine"_s});
    m.filer(u"SchItem"_s).WriteStrings({u"new"_s});
    other.commit();
    EXPECT_EQ(dir.read(u"other.ini"_s), "[SchItem]\r\nitem_ItemCount=1\r\nitem_Item0=other\r\n"_ba);
    EXPECT_EQ(ProfileFile::get(dir.file(u"mine.ini"_s), u"SchItem"_s, u"item_Item0"_s, {}), u"new"_s);
    EXPECT_EQ(m.manager().IniStoreInUse(), nullptr);

    // Pointed at the store's file, the manager uses it.
    m.manager().SetIniFileName(dir.file(u"other.ini"_s));
    EXPECT_EQ(m.manager().IniStoreInUse(), &other);
}

} // namespace
