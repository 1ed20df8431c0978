#include "schedule/LineBreaks.h"
#include "schedule/PageFile.h"

#include <gtest/gtest.h>

namespace {

TEST(LineBreaks, everyLineFeedBecomesCrLfAndBackExactly)
{
    struct Case {
        QString editor;
        QString file;
    };
    const Case cases[] = {
        {u""_qs, u""_qs},
        {u"一行"_qs, u"一行"_qs},
        {u"\n"_qs, u"\r\n"_qs},
        {u"a\n\nb\n"_qs, u"a\r\n\r\nb\r\n"_qs},
        {u"\na\u2028b\n"_qs, u"\r\na\u2028b\r\n"_qs},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LineBreaks::toCrLf(c.editor), c.file) << c.editor.toStdString();
        EXPECT_EQ(PageFile::fileText(c.editor), c.file);
        EXPECT_EQ(LineBreaks::toLf(c.file), c.editor);
    }
    // A lone CR is no line break of ours: it stays, either way.
    EXPECT_EQ(LineBreaks::toLf(u"a\rb\r\r\nc"_qs), u"a\rb\r\nc"_qs);
    EXPECT_EQ(LineBreaks::toCrLf(u"a\rb"_qs), u"a\rb"_qs);
}

TEST(LineBreaks, aMillionLinesKeepEveryCharacter)
{
    QString editor;
    for (int n = 0; n < 1000000; ++n)
        editor += QString::number(n % 10) + u'\n';
    const QString file = LineBreaks::toCrLf(editor);
    EXPECT_EQ(file.size(), editor.size() + 1000000);
    EXPECT_TRUE(file.startsWith(u"0\r\n1\r\n"_qs));
    EXPECT_TRUE(file.endsWith(u"8\r\n9\r\n"_qs));
    EXPECT_EQ(LineBreaks::toLf(file), editor);
}

} // namespace
