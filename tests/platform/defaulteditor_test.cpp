#include "platform/DefaultEditor.h"

#include "support/TempFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace Qt::Literals::StringLiterals;

struct EditorCase {
    const char* editor;
    QStringList arguments;
};

class EditorArguments : public ::testing::TestWithParam<EditorCase> {};

// Editors that hand a file to a running window are started so that they stay until it is closed.
TEST_P(EditorArguments, keepTheEditorRunningUntilTheUserIsDone)
{
    const EditorCase& c = GetParam();
    EXPECT_EQ(DefaultEditor::arguments(QString::fromUtf8(c.editor), u"/d/~QuavSchedulerWork.txt"_s),
              c.arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Known, EditorArguments,
    ::testing::Values(EditorCase{"/usr/bin/gedit", {u"--wait"_s, u"/d/~QuavSchedulerWork.txt"_s}},
                      EditorCase{"/usr/bin/gnome-text-editor",
                                 {u"--standalone"_s, u"/d/~QuavSchedulerWork.txt"_s}},
                      EditorCase{"/usr/bin/kate", {u"--block"_s, u"/d/~QuavSchedulerWork.txt"_s}},
                      EditorCase{"geany", {u"--new-instance"_s, u"/d/~QuavSchedulerWork.txt"_s}},
                      // Others, and a name that merely contains a known one, get the file alone.
                      EditorCase{"/usr/bin/mousepad", {u"/d/~QuavSchedulerWork.txt"_s}},
                      EditorCase{"/opt/my-gedit", {u"/d/~QuavSchedulerWork.txt"_s}},
                      EditorCase{"/usr/bin/gedit/", {u"/d/~QuavSchedulerWork.txt"_s}}));

} // namespace

namespace {

struct Installed {
    int folder; // index into the search path
    const char* name;
    bool executable;
};

struct SearchCase {
    const char* name;
    std::vector<Installed> installed;
    int foundFolder; // -1: nothing found
    const char* found;
};

class EditorSearch : public ::testing::TestWithParam<SearchCase> {};

// The list's order decides, not the order of the folders; a file that cannot run is no editor.
TEST_P(EditorSearch, takesTheFirstCandidateInstalled)
{
    const SearchCase& c = GetParam();
    TempFolder folders[2];
    for (const Installed& file : c.installed) {
        const QString name = QString::fromUtf8(file.name);
        folders[file.folder].write(name, "#!/bin/sh\n");
        QFile::setPermissions(folders[file.folder].file(name),
                              file.executable ? QFile::ReadOwner | QFile::ExeOwner : QFile::ReadOwner);
    }
    const QString found = DefaultEditor::path({folders[0].path(), folders[1].path()});
    EXPECT_EQ(found, c.foundFolder < 0 ? QString() : folders[c.foundFolder].file(QString::fromUtf8(c.found)));
}

INSTANTIATE_TEST_SUITE_P(
    Installed, EditorSearch,
    ::testing::Values(
        SearchCase{"listOrderBeatsFolderOrder", {{0, "mousepad", true}, {1, "gedit", true}}, 1, "gedit"},
        SearchCase{"firstFolderOfTheSameEditor", {{0, "kate", true}, {1, "kate", true}}, 0, "kate"},
        SearchCase{"notExecutableIsSkipped", {{0, "gedit", false}, {1, "geany", true}}, 1, "geany"},
        SearchCase{"openerWhenNoEditor", {{1, "xdg-open", true}, {0, "vi", true}}, 1, "xdg-open"},
        SearchCase{"editorBeforeOpener", {{0, "xdg-open", true}, {1, "featherpad", true}}, 1, "featherpad"},
        SearchCase{"nothing", {{0, "gedit", false}}, -1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
