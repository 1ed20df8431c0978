// The settings file at start and close: one read serves every reader; the close sequence's
// settings reach the file in one replace that leaves the bytes the steps' own writes left.
#include "MainFormFixture.h"

#include "mainwindow/FontColorDialog.h"

#include "platform/AnsiText.h"
#include "platform/ProfileFile.h"
#include "settings/RegMng.h"
#include "support/TestData.h"
#include "support/FileEvents.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

using namespace Qt::StringLiterals;

QByteArray utf16(const QString& text, bool bigEndian)
{
    QByteArray out(bigEndian ? "\xFE\xFF" : "\xFF\xFE");
    for (QChar c : text) {
        const char hi = char(c.unicode() >> 8);
        const char lo = char(c.unicode() & 0xFF);
        out.append(bigEndian ? hi : lo);
        out.append(bigEndian ? lo : hi);
    }
    return out;
}

QDateTime modified(const QString& path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

const QString kOddUnicode =
    u"[pos]\r\nWidth=700\r\n; kept\r\n[MEMOFONT]\r\nPROP_FONTNAME = \"ＭＳ 明朝\" \r\n"
    u"[cal]\r\nholidays=1\r\n"_s;

struct CloseCase {
    const char* name;
    std::function<void(TMainForm&)> change;
};

class SettingsFileTest : public MainFormFixture {
protected:
    ScriptedDialogs scripted;

    SettingsFileTest() { dialogs = &scripted; }

    // The first markup symbol as the user types it in its dialog.
    void typeFirstMarkup(TMainForm& f, const QString& symbol)
    {
        scripted.answer([symbol](QDialog& dialog) {
            ScriptedDialogs::child<QLineEdit>(dialog, "Edit1")->setText(symbol);
            return ScriptedDialogs::pressOk(dialog);
        });
        markupAction(f, "MS", 0)->trigger();
    }

    // The settings file, or none; a file the program left itself is made by a start and a close.
    void putSettings(const std::optional<QByteArray>& bytes)
    {
        QFile::remove(ini());
        if (bytes)
            dir.write(u"QuavScheduler.ini"_s, *bytes);
    }

    std::optional<QByteArray> currentSettings() const
    {
        return dir.exists(u"QuavScheduler.ini"_s) ? std::optional(dir.read(u"QuavScheduler.ini"_s))
                                                  : std::nullopt;
    }

    // Starts on the file, changes what `change` changes and closes: the file must end as the
    // steps' own writes leave it, replaced once or, with the same bytes, not at all.
    void closeAndCompare(const std::optional<QByteArray>& bytes,
                         const std::function<void(TMainForm&)>& change)
    {
        putSettings(bytes);
        change(start());
        const QByteArray expected = writtenStepByStep();
        const bool unchanged = bytes == expected;
        const QDateTime old = QDateTime::currentDateTime().addDays(-3);
        if (bytes) {
            QFile stamp(ini());
            ASSERT_TRUE(stamp.open(QIODevice::ReadWrite));
            ASSERT_TRUE(stamp.setFileTime(old, QFileDevice::FileModificationTime));
        }
        FileEvents events(ini());
        ASSERT_TRUE(closeForm());
        const FileEvents::Counts counts = events.take();

        EXPECT_EQ(dir.read(u"QuavScheduler.ini"_s), expected);
        EXPECT_TRUE(messages.shown().isEmpty()) << messages.texts().join(u'|').toStdString();
        if (events.available()) {
            EXPECT_EQ(counts.opened, bytes ? 1 : 0);
            EXPECT_EQ(counts.replaced, unchanged ? 0 : 1);
        }
        if (unchanged) {
            EXPECT_EQ(modified(ini()).toSecsSinceEpoch(), old.toSecsSinceEpoch());
        }
    }

    // What the close sequence left when each step wrote on its own: the main keys in one
    // replace, the holidays and the font value by value.
    QByteArray writtenStepByStep()
    {
        const std::optional<QByteArray> before = currentSettings();
        StepStore store(ini());
        int index = 0;
        form->storeClosingSettings(store, [&](const std::function<void()>& run) {
            if (index++ == 0) {
                ProfileBatch batch(ini());
                store.target = &batch;
                run();
                batch.commit();
            } else {
                ProfileFileStore file(ini());
                store.target = &file;
                run();
            }
        });
        const QByteArray after = dir.read(u"QuavScheduler.ini"_s);
        putSettings(before);
        return after;
    }

private:
    // Hands each access to the store of the step that runs.
    class StepStore final : public IniStore {
    public:
        explicit StepStore(QString path) : m_path(std::move(path)) {}
        const QString& path() const override { return m_path; }
        QString get(const QString& s, const QString& k, const QString& def) const override
        {
            return target->get(s, k, def);
        }
        void put(const QString& s, const QString& k, const QString& v) override { target->put(s, k, v); }
        void remove(const QString& s, const QString& k) override { target->remove(s, k); }
        IniStore* target = nullptr;

    private:
        QString m_path;
    };
};

struct SettingsCase {
    const char* name;
    std::optional<QByteArray> bytes;
};

TEST_F(SettingsFileTest, closeWritesInOneReplaceTheBytesOfStepByStepWrites)
{
    start();
    ASSERT_TRUE(closeForm());
    const QByteArray leftByUs = dir.read(u"QuavScheduler.ini"_s);
    QByteArray windows = fixture("windows.ini");
    windows.replace(AnsiText::encode(u"C:\\Program Files\\QuavScheduler\\予定表\\"_s), folder().toUtf8());
    const SettingsCase files[] = {
        {"none", std::nullopt},
        {"left by us", leftByUs},
        {"from Windows, every section", windows},
        {"by hand: LF, odd case, quotes, comments, undecodable bytes", fixture("handmade.ini")},
        {"UTF-16 LE", utf16(kOddUnicode, false)},
        {"UTF-16 BE", utf16(kOddUnicode, true)},
        {"UTF-8 with mark", "\xEF\xBB\xBF[Memo]\nEditor1=/usr/bin/true\n; メモ\n"_ba},
    };
    const CloseCase closes[] = {
        {"nothing changed", [](TMainForm&) {}},
        {"every step changed",
         [this](TMainForm& f) {
             f.resize(700, 500);
             scripted.answer([](QDialog& dialog) {
                 ScriptedDialogs::child<QComboBox>(dialog, "ComboBox1")->setCurrentIndex(3);
                 return ScriptedDialogs::pressOk(dialog);
             });
             action(f, "StartWeek1")->trigger();
             action(f, "Holidays1")->trigger();
             scripted.answer([](QDialog& dialog) {
                 auto& fonts = static_cast<TFontColorDialog&>(dialog);
                 fonts.FaceBox->setCurrentText(u"IPAGothic"_s);
                 fonts.SizeBox->setCurrentText(u"14"_s);
                 return ScriptedDialogs::pressOk(dialog);
             });
             action(f, "Font1")->trigger();
             EXPECT_EQ(f.settings().startWeek, 3);
             EXPECT_EQ(f.memoFont().Size, 14);
         }},
    };
    for (const SettingsCase& file : files) {
        for (const CloseCase& close : closes) {
            SCOPED_TRACE(std::string(file.name) + " / " + close.name);
            closeAndCompare(file.bytes, close.change);
        }
    }
}

TEST_F(SettingsFileTest, textThatGivesTheSameBytesLeavesTheFileUntouched)
{
    typeFirstMarkup(start(), u"\uFF5E"_s);
    ASSERT_TRUE(closeForm());
    const QByteArray leftByUs = dir.read(u"QuavScheduler.ini"_s);
    ASSERT_TRUE(leftByUs.contains("MarkupStr0=\x81\x60\r\n"));
    // Another code point of the same code page character: the text differs, the bytes do not.
    closeAndCompare(leftByUs, [this](TMainForm& f) {
        typeFirstMarkup(f, u"\u301C"_s);
        EXPECT_EQ(f.settings().markup[0].symbol, u"\u301C"_s);
    });
}

TEST_F(SettingsFileTest, everyStartUpReaderIsServedByOneRead)
{
    QByteArray windows = fixture("windows.ini");
    windows.replace(AnsiText::encode(u"C:\\Program Files\\QuavScheduler\\予定表\\"_s), folder().toUtf8());
    windows.replace("[Cal]\r\n", "[Cal]\r\nHolidays=1\r\n");
    putSettings(windows);
    FileEvents events(ini());
    TMainForm& f = start();
    if (events.available()) {
        EXPECT_EQ(events.take().opened, 1);
    }
    // The values of each reader: the settings manager's font and captions, the main keys and
    // the holidays, all from that one read.
    EXPECT_EQ(f.memoFont().Name, u"ＭＳ ゴシック"_s);
    EXPECT_EQ(f.columnCaptions(), (QStringList{u"予定1"_s, u"ゾーン"_s, u"能力"_s}));
    EXPECT_EQ(f.settings().startWeek, 1);
    EXPECT_TRUE(f.monthViewSource().cellColours().holidays);
    EXPECT_EQ(f.monthViewSource().settingsReadAtStart(), nullptr); // shown: later readers read the file again

    // After start-up the file is the settings manager's again: an edit made outside is seen.
    ProfileFile::put(ini(), u"SchItem"_s, u"item_Item1"_s, u"外で変更"_s);
    QStringList captions;
    regManager(f)->GetFiler(u"SchItem"_s).ReadStrings(captions);
    EXPECT_EQ(captions.value(1), u"外で変更"_s);
}

struct UnwritableCase {
    const char* name;
    std::function<QString(TempFolder&)> path;
    bool holidaysSwitched;
    int reports; // one per close step that had something to write
    bool dataFolderGone = false;
};

TEST_F(SettingsFileTest, unwritableFileIsReportedByEachStepThatHadSomethingToWrite)
{
    const auto folderInTheWay = [](TempFolder& d) {
        QDir(d.path()).mkpath(u"blocked.ini/inside"_s);
        return d.file(u"blocked.ini"_s);
    };
    const auto fileInTheWay = [](TempFolder& d) {
        d.write(u"plain"_s, "a file where a folder is expected");
        return d.file(u"plain/QuavScheduler.ini"_s);
    };
    const UnwritableCase cases[] = {
        {"folder in the way", folderInTheWay, false, 2},
        {"folder in the way, holidays switched", folderInTheWay, true, 3},
        {"file in the way", fileInTheWay, false, 2},
        {"file in the way, holidays switched", fileInTheWay, true, 3},
        // The settings are reported before the month, as they are written before it.
        {"folder in the way, data folder gone", folderInTheWay, false, 2, true},
    };
    for (const UnwritableCase& c : cases) {
        SCOPED_TRACE(c.name);
        messages.clear();
        MainFormEnv env = makeEnv();
        env.iniPath = c.path(dir);
        if (c.dataFolderGone)
            env.defaultDataFolder = dir.file(u"gone/"_s);
        form = std::make_unique<TMainForm>(env);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        if (c.holidaysSwitched)
            action(*form, "Holidays1")->trigger();
        const int before = c.reports + (c.dataFolderGone ? 1 : 0);
        for (int i = 0; i < before; ++i)
            messages.answerNext(MessageService::Answer::Ok);
        messages.answerNext(MessageService::Answer::Cancel); // the question: stay
        EXPECT_FALSE(form->close());

        QStringList texts = messages.texts();
        ASSERT_EQ(texts.size(), before + 1) << texts.join(u'|').toStdString();
        if (c.dataFolderGone) {
            EXPECT_TRUE(texts.at(c.reports).contains(u"gone"_s)) << texts.at(c.reports).toStdString();
            texts.removeAt(c.reports);
        }
        QStringList expected(c.reports, env.iniPath + u" に書き込めません"_s);
        expected.append(u"エラーが発生しました。終了しますか?"_s);
        EXPECT_EQ(texts, expected);
        form.reset();
    }
    EXPECT_TRUE(QDir(dir.file(u"blocked.ini/inside"_s)).exists());
    EXPECT_EQ(dir.read(u"plain"_s), "a file where a folder is expected"_ba);
}

} // namespace
