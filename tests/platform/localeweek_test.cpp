#include "platform/LocaleWeek.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

// Sets the three variables for one test and puts the old values back.
class LocaleVariables {
public:
    LocaleVariables(const char* all, const char* time, const char* lang)
    {
        set("LC_ALL", all);
        set("LC_TIME", time);
        set("LANG", lang);
    }
    ~LocaleVariables()
    {
        for (const auto& [name, value] : m_saved)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }

private:
    void set(const char* name, const char* value)
    {
        m_saved.emplace_back(name, qEnvironmentVariableIsSet(name) ? qgetenv(name) : QByteArray());
        value ? qputenv(name, value) : qunsetenv(name);
    }
    std::vector<std::pair<const char*, QByteArray>> m_saved;
};

TEST(LocaleWeek, namesWithCodesetOrModifierGiveTheirCountrysFirstDay)
{
    EXPECT_EQ(LocaleWeek::firstDayOf("de_DE.UTF-8"), Qt::Monday);
    EXPECT_EQ(LocaleWeek::firstDayOf("fr_FR@euro"), Qt::Monday);
    EXPECT_EQ(LocaleWeek::firstDayOf("en_US.UTF-8"), Qt::Sunday);
    EXPECT_EQ(LocaleWeek::firstDayOf("ja_JP.eucJP"), Qt::Sunday);
    EXPECT_EQ(LocaleWeek::firstDayOf("ar_EG"), Qt::Saturday);
    EXPECT_EQ(LocaleWeek::firstDayOf("C"), QLocale::system().firstDayOfWeek());
    EXPECT_EQ(LocaleWeek::firstDayOf("xx_not-a-locale"), QLocale::system().firstDayOfWeek());
}

TEST(LocaleWeek, timeCategoryIsChosenAsTheCLibraryChoosesIt)
{
    {
        const LocaleVariables vars(nullptr, "en_GB.UTF-8", "en_US.UTF-8");
        EXPECT_EQ(LocaleWeek::firstDay(), Qt::Monday);
    }
    {
        const LocaleVariables vars("en_US.UTF-8", "de_DE.UTF-8", "de_DE.UTF-8");
        EXPECT_EQ(LocaleWeek::firstDay(), Qt::Sunday);
    }
    {
        const LocaleVariables vars(nullptr, nullptr, "de_AT.UTF-8");
        EXPECT_EQ(LocaleWeek::firstDay(), Qt::Monday);
    }
}

} // namespace
