#include "print/model/PdfText.h"

#include <gtest/gtest.h>

namespace {

TEST(PdfTextTest, RadicalsInToUnicodeListsBecomeTheirIdeographs)
{
    QByteArray pdf =
        "stream\n2 beginbfrange\n<0000> <0000> <0000>\n<2F07> <2F09> [<2F47> <2f49> <8A8A> <2E9F> "
        "<2E80> <D83DDE00>]\nendbfrange\nendstream\n<2F07> outside";
    const qsizetype size = pdf.size();
    EXPECT_EQ(PdfText::preferIdeographs(pdf), 3);
    EXPECT_EQ(pdf.size(), size) << "offsets of the file stay right";
    // 日 and 月 for their radicals, 母 for the supplement's; the glyph numbers of the range, an
    // ideograph, a radical without compatibility form, a pair of surrogates and anything outside
    // the map stay.
    EXPECT_EQ(pdf,
              QByteArray("stream\n2 beginbfrange\n<0000> <0000> <0000>\n<2F07> <2F09> [<65E5> <6708> <8A8A> "
                         "<6BCD> <2E80> <D83DDE00>]\nendbfrange\nendstream\n<2F07> outside"));
}

TEST(PdfTextTest, NothingToDoWithoutAMapOrWithAnOpenOne)
{
    QByteArray plain = "%PDF-1.4 [<2F07>]";
    EXPECT_EQ(PdfText::preferIdeographs(plain), 0);
    QByteArray cut = "beginbfrange [<2F07>";
    EXPECT_EQ(PdfText::preferIdeographs(cut), 0);
    EXPECT_EQ(cut, QByteArray("beginbfrange [<2F07>"));
}

} // namespace
