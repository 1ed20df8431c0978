// The tool buttons and the program's icons carry double-size forms, so screens at 1.5x and 2x
// show them sharp instead of magnified 16-pixel images, even when the program started at 1x.
#include "mainwindow/MainFormFixture.h"

#include "controls/ResourceIcon.h"

#include <QAction>

namespace {

using namespace Qt::Literals::StringLiterals;

// The pixmap drawn for a 16-pixel icon on a screen at `scale`, in device pixels.
QSize devicePixels(const QIcon& icon, QSize logical, qreal scale)
{
    return icon.pixmap(logical, scale).size();
}

class ToolIconsTest : public MainFormFixture {};

TEST_F(ToolIconsTest, everyToolButtonHasItsDoubleSizeForm)
{
    TMainForm& f = start();
    for (const char* name :
         {"SchCut3", "SchCopy3", "SchPaste3", "Cut3", "Copy3", "Paste3", "Exec3", "Today3"}) {
        SCOPED_TRACE(name);
        const auto* action = f.findChild<QAction*>(QLatin1String(name));
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(devicePixels(action->icon(), {16, 16}, 1.0), QSize(16, 16));
        EXPECT_EQ(devicePixels(action->icon(), {16, 16}, 2.0), QSize(32, 32));
        EXPECT_EQ(devicePixels(action->icon(), {16, 16}, 1.5), QSize(24, 24));
    }
    EXPECT_EQ(devicePixels(f.windowIcon(), {32, 32}, 2.0), QSize(64, 64));
}

TEST(ResourceIcon, withoutADoubleSizeFormTheIconIsTheOneImage)
{
    const QIcon icon = resourceIcon(u":/icons/no-such-icon.png"_s);
    EXPECT_TRUE(icon.availableSizes().isEmpty());
    const QIcon tray = resourceIcon(u":/icons/app16.png"_s);
    EXPECT_EQ(tray.availableSizes(), (QList<QSize>{{16, 16}, {24, 24}, {32, 32}}));
}

} // namespace
