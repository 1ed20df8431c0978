#include "controls/About.h"

#include "controls/URLLabel.h"
#include "support/RecordingUrlOpener.h"

#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

class AboutDlgTest : public ::testing::Test {
protected:
    RecordingUrlOpener opener;
    QWidget owner;

    void SetUp() override
    {
        QPixmap icon(32, 32);
        icon.fill(QColor(200, 10, 20));
        owner.setWindowIcon(QIcon(icon));
    }
};

TEST_F(AboutDlgTest, showsNameVersionAndLinksAtTheirPlaces)
{
    TAboutDlg dialog(&opener, &owner);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("QuavSchedulerのバージョン情報"));
    EXPECT_EQ(dialog.height(), 154);
    EXPECT_GE(dialog.width(), 347);
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()); // not sizable

    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("QuavScheduler for Windows95/98/Me"));
    EXPECT_TRUE(dialog.Label1->font().bold());
    EXPECT_EQ(dialog.Label2->text(), QStringLiteral("Version 2.15"));
    EXPECT_FALSE(dialog.Label3->text().isEmpty());
    EXPECT_EQ(dialog.QuavMail->pos(), QPoint(72, 80));
    EXPECT_TRUE(dialog.OKBtn->isDefault());

    // Nothing is cut: every text fits in its label and every label in the box.
    for (QLabel* label : {dialog.Label1, dialog.Label2, dialog.Label3, static_cast<QLabel*>(dialog.QuavURL),
                          static_cast<QLabel*>(dialog.QuavMail)}) {
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
        EXPECT_LE(label->geometry().right(), dialog.width() - 1) << label->objectName().toStdString();
    }
    EXPECT_LE(dialog.OKBtn->geometry().right(), dialog.width() - 1);

    EXPECT_TRUE(dialog.QuavURL->text().startsWith(QStringLiteral("https://")));
    EXPECT_TRUE(dialog.QuavURL->Executable());
    EXPECT_EQ(dialog.QuavURL->FontColor(), QColor(0, 0, 255));
    EXPECT_EQ(dialog.QuavURL->HotColor(), QColor(0, 255, 255));
    EXPECT_TRUE(dialog.QuavMail->text().startsWith(QStringLiteral("mailto:")));
    EXPECT_TRUE(dialog.QuavMail->Executable());
    EXPECT_EQ(dialog.QuavMail->FontColor(), QColor(0, 128, 0));
    EXPECT_EQ(dialog.QuavMail->HotColor(), QColor(0, 255, 0));
}

TEST_F(AboutDlgTest, showsTheOwnersIcon)
{
    TAboutDlg dialog(&opener, &owner);
    const QImage image = dialog.Image1->pixmap().toImage();
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(QColor(image.pixel(16, 16)), QColor(200, 10, 20));
}

TEST_F(AboutDlgTest, escapeKeepsItOpenAndEnterConfirms)
{
    TAboutDlg dialog(&opener, &owner);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(AboutDlgTest, linksHandTheirAddressesToTheOpener)
{
    TAboutDlg dialog(&opener, &owner);
    QTest::mouseClick(dialog.QuavMail, Qt::LeftButton, {}, QPoint(3, 3));
    QTest::mouseClick(dialog.QuavURL, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(opener.opened, (QStringList{dialog.QuavMail->text(), dialog.QuavURL->text()}));
}

} // namespace
