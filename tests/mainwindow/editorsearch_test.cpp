#include "MainFormFixture.h"

#include "mainwindow/EditorSetup.h"
#include "platform/DefaultEditor.h"
#include "platform/ProfileFile.h"
#include "support/ScriptedDialogs.h"

#include <QFile>
#include <QLineEdit>

#include <optional>

namespace {

// The default editor is looked for on PATH only once something needs it; the settings file ends
// up holding what a search at every start would have stored.
class EditorSearchTest : public MainFormFixture {
protected:
    ScriptedDialogs scripted;
    TempFolder bin; // the only folder the search looks in
    int searches = 0;

    EditorSearchTest()
    {
        dialogs = &scripted;
        findEditor = [this] {
            ++searches;
            return DefaultEditor::path({bin.path()});
        };
    }

    void install(const QString& name, const QByteArray& body = "exit 0\n")
    {
        bin.write(name, "#!/bin/sh\n" + body);
        QFile::setPermissions(bin.file(name), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QString storedEditor() const
    {
        return ProfileFile::get(ini(), QStringLiteral("Memo"), QStringLiteral("Editor1"),
                                QStringLiteral("<none>"));
    }
};

struct StoredEditorCase {
    const char* name;
    std::optional<QString> stored; // none: no Editor1 key
    bool editorInstalled;
    int searchesAtClose;
    const char* expectedEditor; // "kate": the one installed for the test
};

void PrintTo(const StoredEditorCase& c, std::ostream* os)
{
    *os << c.name;
}

class EditorSearchAtClose : public EditorSearchTest,
                            public ::testing::WithParamInterface<StoredEditorCase> {};

TEST_P(EditorSearchAtClose, startSearchesNothingAndCloseStoresWhatAStartSearchFound)
{
    const StoredEditorCase& c = GetParam();
    if (c.stored)
        ProfileFile::put(ini(), QStringLiteral("Memo"), QStringLiteral("Editor1"), *c.stored);
    if (c.editorInstalled)
        install(QStringLiteral("kate"));

    start();
    EXPECT_EQ(searches, 0);
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(searches, c.searchesAtClose);
    const QString expected = QLatin1String(c.expectedEditor) == QLatin1String("kate")
                                 ? bin.file(QStringLiteral("kate"))
                                 : QString::fromUtf8(c.expectedEditor);
    EXPECT_EQ(storedEditor(), expected);
}

INSTANTIATE_TEST_SUITE_P(Stored, EditorSearchAtClose,
                         ::testing::Values(StoredEditorCase{"pathStored", QStringLiteral("/opt/tools/edit"),
                                                            true, 0, "/opt/tools/edit"},
                                           StoredEditorCase{"nothingStored", std::nullopt, true, 1, "kate"},
                                           StoredEditorCase{"emptyStored", QString(), true, 1, "kate"},
                                           StoredEditorCase{"noEditorInstalled", std::nullopt, false, 1, ""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditorSearchTest, externalEditorSearchesOnceAndCloseStoresItsFind)
{
    install(QStringLiteral("mousepad"), "printf 'edited' > \"$1\"\n");
    TMainForm& f = start();
    action(f, "Exec1")->trigger();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("edited"));
    action(f, "Exec1")->trigger();
    EXPECT_EQ(searches, 1);
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(storedEditor(), bin.file(QStringLiteral("mousepad")));
}

TEST_F(EditorSearchTest, findingNoEditorIsNotRepeatedAtEveryUse)
{
    TMainForm& f = start();
    action(f, "Exec1")->trigger();
    action(f, "Exec1")->trigger();
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(messages.texts(), (QStringList{QStringLiteral("外部エディタを起動できません。"),
                                             QStringLiteral("外部エディタを起動できません。")}));
}

TEST_F(EditorSearchTest, settingsDialogShowsTheFindAndAnEditorClearedThereStaysCleared)
{
    install(QStringLiteral("kate"));
    TMainForm& f = start();
    QString shown;
    scripted.answer([&shown](QDialog& dialog) {
        auto& setup = static_cast<TEditorSetupDlg&>(dialog);
        shown = setup.Edit1->text();
        setup.Edit1->clear();
        return ScriptedDialogs::pressOk(dialog);
    });
    action(f, "EditorSet1")->trigger();
    EXPECT_EQ(shown, bin.file(QStringLiteral("kate")));
    ASSERT_TRUE(closeForm());
    EXPECT_EQ(searches, 1);
    EXPECT_EQ(storedEditor(), QString());
}

// A stored editor is used as it is, whatever is installed.
TEST_F(EditorSearchTest, storedEditorIsUsedWithoutSearching)
{
    install(QStringLiteral("kate"));
    install(QStringLiteral("mine"), "printf 'mine' > \"$1\"\n");
    ProfileFile::put(ini(), QStringLiteral("Memo"), QStringLiteral("Editor1"),
                     bin.file(QStringLiteral("mine")));
    TMainForm& f = start();
    action(f, "Exec1")->trigger();
    EXPECT_EQ(memo(f, "Memo2")->toPlainText(), QStringLiteral("mine"));
    EXPECT_EQ(searches, 0);
}

} // namespace
