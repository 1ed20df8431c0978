#include "MainFormFixture.h"

#include "settings/RegMng.h"

#include "platform/ProfileFile.h"

#include <QLabel>

namespace {

class MainFormComponents : public MainFormFixture {};

TEST_F(MainFormComponents, theWindowItselfIsNeverStored)
{
    TMainForm& f = start();
    regManager(f)->GetFiler(QStringLiteral("SchItem")).WriteComponent(&f);
    EXPECT_EQ(
        ProfileFile::get(ini(), QStringLiteral("SchItem"), QStringLiteral("item_c"), QStringLiteral("none")),
        QStringLiteral("none"));
    EXPECT_EQ(regManager(f)->GetFiler(QStringLiteral("SchItem")).ReadComponent(&f), nullptr);
    EXPECT_TRUE(messages.shown().isEmpty());
}

TEST_F(MainFormComponents, theWindowsManagerStoresControls)
{
    TMainForm& f = start();
    QLabel label(QStringLiteral("見出し"));
    label.setParent(panel(f, "Panel1"));
    regManager(f)->GetFiler(QStringLiteral("MemoFont")).WriteComponent(&label);
    EXPECT_NE(
        ProfileFile::get(ini(), QStringLiteral("MemoFont"), QStringLiteral("prop_c"), QString()).toInt(), 0);
}

} // namespace
