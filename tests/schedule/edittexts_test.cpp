#include "schedule/EditTexts.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

TEST(EditTexts, firstLineStopsAtAnyLineBreak)
{
    const struct {
        QString pasted;
        QString kept;
    } cases[] = {
        {QStringLiteral("一行目\r\n二行目\r\n三行目"), QStringLiteral("一行目")},
        {QStringLiteral("unix\nline"), QStringLiteral("unix")},
        {QStringLiteral("mac\rline"), QStringLiteral("mac")},
        {QStringLiteral("\r\nafter a leading break"), QString()},
        {QStringLiteral("trailing\r\n"), QStringLiteral("trailing")},
        {QStringLiteral("tab\tand  spaces stay "), QStringLiteral("tab\tand  spaces stay ")},
        {QStringLiteral("ends") + QChar(0) + QStringLiteral("hidden"), QStringLiteral("ends")},
        {QString(), QString()},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditTexts::firstLine(c.pasted), c.kept) << c.pasted.toStdString();
}

TEST(EditTexts, dateTimeIsJapaneseShortTimeThenTwoDigitYearAndBareMonthAndDay)
{
    // The user's locale must not leak in.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const struct {
        QDateTime when;
        const char* text;
    } cases[] = {
        {QDateTime(QDate(2001, 3, 7), QTime(9, 5)), "9:05 01/3/7"},
        {QDateTime(QDate(2010, 12, 31), QTime(23, 59, 58)), "23:59 10/12/31"},
        {QDateTime(QDate(2000, 1, 1), QTime(0, 0)), "0:00 00/1/1"},
        {QDateTime(QDate(1999, 11, 10), QTime(12, 30)), "12:30 99/11/10"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditTexts::dateTimeText(c.when), QString::fromUtf8(c.text)) << c.text;
    QLocale::setDefault(QLocale::system());
}

TEST(EditTexts, documentTextKeepsEveryCharacter)
{
    const QString plain = QStringLiteral("a\u00A0b\u2028c\nd");
    EXPECT_TRUE(EditTexts::forDocument(plain).standIns.isEmpty());
    // What a document holds for the text: its paragraph breaks are U+2029.
    const QString text = QStringLiteral("x\u2029y\uFDD0z\uFDD1\uFDD2w\n");
    const EditTexts::DocumentText held = EditTexts::forDocument(text);
    ASSERT_EQ(held.standIns.size(), 3);
    EXPECT_FALSE(held.text.contains(QChar(0x2029)));
    EXPECT_FALSE(held.standIns.contains(QChar(0xFDD2))) << "a character of the text";
    QString raw = held.text;
    raw.replace(u'\n', QChar::ParagraphSeparator);
    EXPECT_EQ(EditTexts::fromDocument(raw, held.standIns), text);
}

} // namespace
