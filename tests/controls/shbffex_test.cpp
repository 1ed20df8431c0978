#include "controls/SHBFFEX.h"
#include "controls/SHBrowseWindow.h"

#include "support/ScriptedDialogs.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QLabel>
#include <QTreeWidget>

namespace {

SHBrowseWindow& browseWindow(QDialog& dialog)
{
    return static_cast<SHBrowseWindow&>(dialog);
}

BrowseTarget folderTarget(const QString& path)
{
    return {BrowseTarget::Kind::Folder, path};
}

// A picker that records its selection events and can veto some paths.
class PickerTest : public ::testing::Test {
protected:
    TempFolder dir;
    ScriptedDialogs scripted;
    TSHBrowseForFolderEx picker;
    QStringList events;
    QString statusFromHandler;
    QString vetoed; // paths starting with this get obsDisable

    PickerTest()
    {
        picker.setDialogRunner(&scripted);
        picker.OnSelectionChanged = [this](TSHBrowseForFolderEx& sender, QWidget* wnd, const QString& path,
                                           QString& showText, TOKButtonState& ok) {
            EXPECT_EQ(&sender, &picker);
            EXPECT_NE(qobject_cast<SHBrowseWindow*>(wnd), nullptr);
            events.append(path);
            showText = statusFromHandler;
            if (!vetoed.isEmpty() && path.startsWith(vetoed))
                ok = obsDisable;
        };
        QDir(dir.path()).mkpath(QStringLiteral("a/b/c"));
        dir.write(QStringLiteral("a/file.txt"), "x");
    }

    QString path(const char* relative) const { return dir.path() + u'/' + QLatin1String(relative); }
};

TEST(PickerProperties, optionsBuildTheFlagsUpToTheShowPathOption)
{
    struct Case {
        TSHBrowseOptions options;
        int flags;
        bool showPath;
    };
    const Case cases[] = {
        {sboReturnOnlyFSDirs, BIF_RETURNONLYFSDIRS, false},
        {sboDontGoBelowDomain | sboReturnFSAncestors, BIF_DONTGOBELOWDOMAIN | BIF_RETURNFSANCESTORS, false},
        {sboStatusText, BIF_STATUSTEXT, false},
        {sboStatusTextAndShowPath | sboStatusText, BIF_STATUSTEXT, true},
        {sboReturnOnlyFSDirs | sboStatusTextAndShowPath, BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT, true},
        {{}, 0, false},
    };
    for (const Case& c : cases) {
        bool showPath = !c.showPath;
        EXPECT_EQ(TSHBrowseForFolderEx::browseFlags(c.options, showPath), c.flags) << int(c.options);
        EXPECT_EQ(showPath, c.showPath) << int(c.options);
    }
}

TEST(PickerProperties, centredWindowHasATopGapHalfItsBottomGap)
{
    EXPECT_EQ(TSHBrowseForFolderEx::centerScreenPosition(QRect(0, 0, 1000, 700), QSize(400, 100)),
              QPoint(300, 200));
    // Truncated toward zero, and the work area's own offset is not added.
    EXPECT_EQ(TSHBrowseForFolderEx::centerScreenPosition(QRect(50, 30, 1001, 701), QSize(400, 100)),
              QPoint(300, 200));
    EXPECT_EQ(TSHBrowseForFolderEx::centerScreenPosition(QRect(0, 0, 300, 100), QSize(303, 105)),
              QPoint(-1, -1));
}

TEST_F(PickerTest, manualNamesResolveToTheFolderOrFallBackToTheDesktop)
{
    const BrowseTarget desktop{BrowseTarget::Kind::Desktop, QString()};
    EXPECT_EQ(TSHBrowseForFolderEx::resolve(sfManual, path("a")), folderTarget(path("a")));
    EXPECT_EQ(TSHBrowseForFolderEx::resolve(sfManual, path("a/file.txt")), desktop);
    EXPECT_EQ(TSHBrowseForFolderEx::resolve(sfManual, path("missing")), desktop);
    EXPECT_EQ(TSHBrowseForFolderEx::resolve(sfManual, QString()), desktop);
    EXPECT_EQ(TSHBrowseForFolderEx::resolve(sfDesktop, path("a")), desktop);
    EXPECT_EQ(TSHBrowseForFolderEx::resolve(sfDrives, QString())->kind, BrowseTarget::Kind::Computer);
    for (int none : {sfFavorites, sfRecent, sfSendTo, sfStartMenu})
        EXPECT_FALSE(TSHBrowseForFolderEx::resolve(none, QString())) << none;
}

TEST_F(PickerTest, templatesAreTheUsersFolderOfThatKind)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", dir.path().toUtf8());
    dir.write(QStringLiteral("user-dirs.dirs"),
              "# written by xdg-user-dirs-update\nXDG_TEMPLATES_DIR=\"" + path("a/b").toUtf8() + "\"\n");
    EXPECT_EQ(TSHBrowseForFolderEx::resolve(sfTemplates, QString()), folderTarget(path("a/b")));
    dir.write(QStringLiteral("user-dirs.dirs"), "XDG_TEMPLATES_DIR=\"" + path("gone").toUtf8() + "\"\n");
    EXPECT_FALSE(TSHBrowseForFolderEx::resolve(sfTemplates, QString()));
    QDir(dir.path()).mkpath(QStringLiteral("autostart"));
    EXPECT_EQ(TSHBrowseForFolderEx::resolve(sfStartup, QString()), folderTarget(path("autostart")));
    qputenv("XDG_CONFIG_HOME", saved);
}

TEST_F(PickerTest, defaultsOpenOnTheComputerWhichCannotBeConfirmed)
{
    scripted.answer([this](QDialog& dialog) {
        SHBrowseWindow& window = browseWindow(dialog);
        auto* tree = ScriptedDialogs::child<QTreeWidget>(dialog, "FolderTree");
        EXPECT_EQ(tree->topLevelItem(0)->text(0), QStringLiteral("デスクトップ"));
        EXPECT_EQ(window.current().kind, BrowseTarget::Kind::Computer);
        EXPECT_FALSE(window.okEnabled());
        EXPECT_FALSE(ScriptedDialogs::pressOk(dialog));
        EXPECT_TRUE(window.select(folderTarget(path("a/b"))));
        EXPECT_TRUE(window.okEnabled());
        return ScriptedDialogs::pressOk(dialog);
    });
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.FolderPath(), path("a/b"));
    EXPECT_EQ(picker.DisplayName(), QStringLiteral("b"));
    // The first selection is reported too, with no path for the computer.
    ASSERT_GE(events.size(), 2);
    EXPECT_EQ(events.first(), QString());
    EXPECT_EQ(events.last(), path("a/b"));
}

TEST_F(PickerTest, cancelEmptiesTheResultsOfAnEarlierRun)
{
    picker.SetSelectFolder(sfManual);
    picker.SetSelectFolderName(path("a"));
    scripted.answer([](QDialog& dialog) { return ScriptedDialogs::pressOk(dialog); });
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.FolderPath(), path("a"));
    EXPECT_EQ(events, QStringList{path("a")});
    scripted.cancel();
    EXPECT_FALSE(picker.Execute());
    EXPECT_TRUE(picker.FolderPath().isEmpty());
    EXPECT_TRUE(picker.DisplayName().isEmpty());
}

TEST_F(PickerTest, manualSelectionOfAFileOpensOnTheDesktop)
{
    picker.SetSelectFolder(sfManual);
    picker.SetSelectFolderName(path("a/file.txt"));
    scripted.answer([](QDialog& dialog) {
        EXPECT_EQ(browseWindow(dialog).current().kind, BrowseTarget::Kind::Desktop);
        return ScriptedDialogs::pressOk(dialog);
    });
    EXPECT_FALSE(picker.Execute()); // the desktop is no file-system folder
    EXPECT_TRUE(scripted.allAnswered());
}

TEST_F(PickerTest, handlerKeepsOkDisabledForVetoedPaths)
{
    vetoed = path("a/b");
    picker.SetRootFolder(rfManual);
    picker.SetRootFolderName(path("a"));
    scripted.answer([this](QDialog& dialog) {
        SHBrowseWindow& window = browseWindow(dialog);
        EXPECT_EQ(window.current(), folderTarget(path("a"))); // the drive list is not below this root
        EXPECT_TRUE(window.okEnabled());
        EXPECT_TRUE(window.select(folderTarget(path("a/b/c"))));
        EXPECT_FALSE(window.okEnabled());
        EXPECT_FALSE(ScriptedDialogs::pressOk(dialog));
        EXPECT_TRUE(window.select(folderTarget(path("a"))));
        return ScriptedDialogs::pressOk(dialog);
    });
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.FolderPath(), path("a"));
}

TEST_F(PickerTest, statusLineShowsTheHandlersTextOrThePath)
{
    statusFromHandler = QStringLiteral("handler");
    struct Case {
        TSHBrowseOptions options;
        bool visible;
        bool showsPath;
    };
    for (const Case& c : {Case{sboReturnOnlyFSDirs, false, false}, Case{sboStatusText, true, false},
                          Case{sboStatusTextAndShowPath, true, true}}) {
        picker.SetOptions(c.options);
        picker.SetSelectFolder(sfManual);
        picker.SetSelectFolderName(path("a/b"));
        scripted.answer([this, c](QDialog& dialog) {
            auto* status = ScriptedDialogs::child<QLabel>(dialog, "StatusText");
            EXPECT_EQ(status->isVisibleTo(&dialog), c.visible);
            EXPECT_EQ(status->text(), c.showsPath ? path("a/b") : QStringLiteral("handler"));
            return false;
        });
        picker.Execute();
    }
    EXPECT_TRUE(scripted.allAnswered());
}

TEST_F(PickerTest, hiddenFolderOnTheWayIsShownAndSelected)
{
    QDir(dir.path()).mkpath(QStringLiteral(".hidden/inner"));
    picker.SetRootFolder(rfManual);
    picker.SetRootFolderName(dir.path());
    picker.SetSelectFolder(sfManual);
    picker.SetSelectFolderName(path(".hidden/inner"));
    scripted.answer([](QDialog& dialog) { return ScriptedDialogs::pressOk(dialog); });
    ASSERT_TRUE(picker.Execute());
    EXPECT_EQ(picker.FolderPath(), path(".hidden/inner"));
}

TEST_F(PickerTest, rootThisPlatformLacksShowsNothing)
{
    picker.SetRootFolder(rfFavorites);
    EXPECT_FALSE(picker.Execute());
    EXPECT_TRUE(scripted.shown().isEmpty());
}

} // namespace
