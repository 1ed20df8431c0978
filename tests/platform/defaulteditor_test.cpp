#include "platform/DefaultEditor.h"

#include <gtest/gtest.h>

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
