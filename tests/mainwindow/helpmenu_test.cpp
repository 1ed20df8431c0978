#include "MainFormFixture.h"

#include "controls/About.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace {

class HelpMenuTest : public MainFormFixture {};

TEST_F(HelpMenuTest, helpMenuIsLastAndHoldsTheAboutEntry)
{
    TMainForm& f = start();
    const QList<QAction*> menus = f.menuBar()->actions();
    ASSERT_FALSE(menus.isEmpty());
    EXPECT_EQ(menus.last()->text(), QStringLiteral("ヘルプ(&H)"));
    EXPECT_EQ(action(f, "About1")->text(), QStringLiteral("バージョン情報(&A)..."));
    EXPECT_EQ(action(f, "About1")->statusTip(),
              QStringLiteral("プログラム情報、バージョン、著作権を表示します。"));
}

TEST_F(HelpMenuTest, eachUseBuildsAFreshBoxAndDestroysIt)
{
    TMainForm& f = start();
    EXPECT_EQ(f.findChild<TAboutDlg*>(), nullptr); // not made at start

    QList<QPointer<TAboutDlg>> seen;
    int found = 0;
    for (int use = 0; use < 2; ++use) {
        QTimer::singleShot(0, &f, [&] {
            auto* box = qobject_cast<TAboutDlg*>(QApplication::activeModalWidget());
            seen.append(box);
            if (box) {
                ++found;
                EXPECT_EQ(box->parentWidget(), &f);
                box->OKBtn->click();
            }
        });
        action(f, "About1")->trigger();
    }
    ASSERT_EQ(found, 2);
    EXPECT_TRUE(seen[0].isNull());
    EXPECT_TRUE(seen[1].isNull());
    EXPECT_EQ(f.findChild<TAboutDlg*>(), nullptr);
    EXPECT_TRUE(messages.shown().isEmpty());
}

} // namespace
