#include "print/model/PdfText.h"

#include <QString>

namespace PdfText {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The ideograph of a radical that has one as its compatibility form, else 0.
char16_t ideographOf(char16_t radical)
{
    const bool kangxi = radical >= 0x2F00 && radical <= 0x2FD5;
    const bool supplement = radical == 0x2E9F || radical == 0x2EF3;
    if (!kangxi && !supplement)
        return 0;
    const QString form = QString(QChar(radical)).normalized(QString::NormalizationForm_KC);
    return form.size() == 1 ? form.at(0).unicode() : 0;
}

// One <XXXX> entry of a map at `at`; rewritten when it names a radical.
bool fixEntry(QByteArray& pdf, qsizetype at)
{
    int value = 0;
    for (int i = 1; i <= 4; ++i) {
        const int digit = hexValue(pdf.at(at + i));
        if (digit < 0)
            return false;
        value = value * 16 + digit;
    }
    const char16_t ideograph = ideographOf(char16_t(value));
    if (!ideograph)
        return false;
    static const char digits[] = "0123456789ABCDEF";
    for (int i = 0; i < 4; ++i)
        pdf[at + 1 + i] = digits[(ideograph >> (12 - 4 * i)) & 0xF];
    return true;
}

} // namespace

int preferIdeographs(QByteArray& pdf)
{
    int changed = 0;
    qsizetype from = 0;
    while ((from = pdf.indexOf("beginbfrange", from)) >= 0) {
        const qsizetype end = pdf.indexOf("endbfrange", from);
        if (end < 0)
            break;
        // Only the characters listed for each glyph, inside [ ]: the glyph numbers and the
        // first character of a run stay as they are.
        bool inList = false;
        for (qsizetype i = from; i < end; ++i) {
            const char c = pdf.at(i);
            if (c == '[')
                inList = true;
            else if (c == ']')
                inList = false;
            else if (inList && c == '<' && i + 5 < end && pdf.at(i + 5) == '>' && fixEntry(pdf, i))
                ++changed;
        }
        from = end;
    }
    return changed;
}

} // namespace PdfText
