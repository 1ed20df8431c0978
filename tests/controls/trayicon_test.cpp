#include "controls/TrayIcon.h"

#include "RecordingNotificationArea.h"
#include "controls/QtNotificationArea.h"
#include "platform/AnsiText.h"

#include <QMenu>
#include <QPixmap>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;
using Kind = RecordingNotificationArea::Kind;
using NA = NotificationArea;

namespace {

QIcon solidIcon(Qt::GlobalColor color)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(color);
    return QIcon(pixmap);
}

QString buttonName(Qt::MouseButtons buttons)
{
    QString name;
    if (buttons & Qt::LeftButton)
        name += u'L';
    if (buttons & Qt::RightButton)
        name += u'R';
    if (buttons & Qt::MiddleButton)
        name += u'M';
    return name;
}

// Notes where the menu opened and closes it again, as a user pressing Escape would; whileOpen
// runs first, as a picked item's handler would.
void closeWhenShown(QMenu& menu, std::vector<QPoint>& shownAt, std::function<void()> whileOpen = {})
{
    QObject::connect(&menu, &QMenu::aboutToShow, &menu, [&menu, &shownAt, whileOpen] {
        QTimer::singleShot(0, &menu, [&menu, &shownAt, whileOpen] {
            shownAt.push_back(menu.geometry().topLeft());
            if (whileOpen)
                whileOpen();
            menu.close();
        });
    });
}

class TrayIconTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        tray = std::make_unique<TTrayIcon>(area);
        tray->OnClick = [this](TTrayIcon&) { events.push_back(u"click"_s); };
        tray->OnDblClick = [this](TTrayIcon&) { events.push_back(u"dbl"_s); };
    }

    // Every handler set, each noting what it was told.
    void recordMouse()
    {
        const auto note = [this](const QString& what, Qt::MouseButtons button, Qt::MouseButtons shift,
                                 const QPoint& pos) {
            events.push_back(u"%1 %2 {%3} %4,%5"_s.arg(what, buttonName(button), buttonName(shift))
                                 .arg(pos.x())
                                 .arg(pos.y()));
        };
        tray->OnMouseDown = [note](TTrayIcon&, Qt::MouseButton b, Qt::MouseButtons s, const QPoint& p) {
            note(u"down"_s, b, s, p);
        };
        tray->OnMouseUp = [note](TTrayIcon&, Qt::MouseButton b, Qt::MouseButtons s, const QPoint& p) {
            note(u"up"_s, b, s, p);
        };
        tray->OnMouseMove = [note](TTrayIcon&, Qt::MouseButtons s, const QPoint& p) {
            note(u"move"_s, {}, s, p);
        };
    }

    void show()
    {
        tray->setIcon(image);
        tray->setVisible(true);
        area.clearRequests();
    }

    quint32 id() const { return tray->IconID(); }
    int waits() const { return int(tray->findChildren<TSingleClick*>().size()); }
    // Until every pending click wait of the icon has ended.
    void waitForClickWaits() const
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return waits() == 0; }, 10000));
    }

    RecordingNotificationArea area;
    QIcon image = solidIcon(Qt::red);
    std::unique_ptr<TTrayIcon> tray;
    std::vector<QString> events;
};

using Events = std::vector<QString>;

// --- click timing

TEST_F(TrayIconTest, singleClickFiresOnClickOnceAfterTheDoubleClickTimePlus50)
{
    area.doubleClickMs = 120;
    area.click(id());
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(tray->ClickPending());
    ASSERT_EQ(waits(), 1);
    EXPECT_EQ(tray->findChild<TSingleClick*>()->interval(), 170);

    waitForClickWaits();
    EXPECT_EQ(events, Events{u"click"_s});
    EXPECT_FALSE(tray->ClickPending());
}

TEST_F(TrayIconTest, doubleClickFiresOnDblClickAtOnceAndOnClickNever)
{
    area.doubleClick(id());
    EXPECT_EQ(events, Events{u"dbl"_s});
    EXPECT_EQ(waits(), 1);
    waitForClickWaits();
    EXPECT_EQ(events, Events{u"dbl"_s});
    EXPECT_FALSE(tray->ClickPending());
}

TEST_F(TrayIconTest, doubleClickInsideAClicksWaitStillEndsWithoutOnClick)
{
    area.click(id());
    area.doubleClick(id());
    waitForClickWaits();
    EXPECT_EQ(events, Events{u"dbl"_s});
}

TEST_F(TrayIconTest, secondClickInsideTheWaitCancelsBothAndStartsNoWait)
{
    area.click(id());
    area.click(id());
    EXPECT_EQ(waits(), 1);
    waitForClickWaits();
    EXPECT_TRUE(events.empty());

    area.click(id());
    waitForClickWaits();
    EXPECT_EQ(events, Events{u"click"_s});
}

TEST_F(TrayIconTest, withOnMouseUpTheReleaseFiresOnlyThat)
{
    recordMouse();
    area.cursor = {300, 40};
    area.click(id());
    EXPECT_EQ(waits(), 0);
    EXPECT_EQ(events, (Events{u"down L {L} 300,40"_s, u"up L {L} 300,40"_s}));
}

TEST_F(TrayIconTest, withoutOnClickTheReleaseOnlyClearsThePendingClick)
{
    tray->OnClick = nullptr;
    area.send(id(), {NA::wmLButtonDblClk});
    EXPECT_TRUE(tray->ClickPending());
    area.send(id(), {NA::wmLButtonUp});
    EXPECT_FALSE(tray->ClickPending());
    EXPECT_EQ(waits(), 0);
}

TEST_F(TrayIconTest, destroyingTheIconEndsItsPendingWait)
{
    area.click(id());
    QPointer<TSingleClick> wait = tray->findChild<TSingleClick*>();
    ASSERT_TRUE(wait);
    tray.reset();
    EXPECT_FALSE(wait);
}

TEST_F(TrayIconTest, clickOnOneIconReachesOnlyThatIcon)
{
    TTrayIcon other(area);
    int otherDbl = 0;
    other.OnDblClick = [&otherDbl](TTrayIcon&) { ++otherDbl; };
    area.send(other.IconID(), {NA::wmLButtonDblClk});
    EXPECT_EQ(otherDbl, 1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(TCallbackWindow::shared().CurrentIcon(), &other);
}

// --- message table

struct MessageCase {
    const char* name;
    quint32 message;
    const char16_t* expected; // empty: nothing fires
};

class TrayMessages : public TrayIconTest, public ::testing::WithParamInterface<MessageCase> {};

TEST_P(TrayMessages, eachMessageFiresItsEventWithThePointerReadWhenHandled)
{
    recordMouse();
    area.cursor = {300, 40};
    area.send(id(), {GetParam().message});
    const QString expected = QString::fromUtf16(GetParam().expected);
    EXPECT_EQ(events, expected.isEmpty() ? Events{} : Events{expected});
    EXPECT_EQ(waits(), 0);
}

INSTANTIATE_TEST_SUITE_P(TrayIcon, TrayMessages,
                         ::testing::Values(MessageCase{"move", NA::wmMouseMove, u"move  {} 300,40"},
                                           MessageCase{"leftDown", NA::wmLButtonDown, u"down L {L} 300,40"},
                                           MessageCase{"leftUp", NA::wmLButtonUp, u"up L {L} 300,40"},
                                           MessageCase{"leftDouble", NA::wmLButtonDblClk, u"dbl"},
                                           MessageCase{"rightDown", NA::wmRButtonDown, u"down R {R} 300,40"},
                                           MessageCase{"rightUp", NA::wmRButtonUp, u"up R {R} 300,40"},
                                           MessageCase{"rightDouble", NA::wmRButtonDblClk, u""},
                                           MessageCase{"middleDown", NA::wmMButtonDown, u"down M {M} 300,40"},
                                           MessageCase{"middleUp", NA::wmMButtonUp, u"up M {M} 300,40"},
                                           MessageCase{"wheel", 522, u""}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayIconTest, messageForAnUnknownIdIsIgnored)
{
    recordMouse();
    area.send(id() + 7, {NA::wmLButtonDown, NA::wmLButtonUp, NA::wmLButtonDblClk, NA::wmRButtonDown});
    EXPECT_TRUE(events.empty());
    EXPECT_FALSE(tray->ClickPending());
}

TEST_F(TrayIconTest, disabledIconIgnoresEveryMessageAndOpensNoMenu)
{
    recordMouse();
    tray->OnMouseUp = nullptr;
    QMenu menu;
    menu.addAction(u"x"_s);
    std::vector<QPoint> shownAt;
    closeWhenShown(menu, shownAt);
    tray->setRBPopupMenu(&menu);
    tray->setLBPopupMenu(&menu);

    tray->setEnabled(false);
    for (quint32 m = NA::wmMouseMove; m <= NA::wmMButtonUp; ++m)
        area.send(id(), {m});
    EXPECT_TRUE(events.empty());
    EXPECT_TRUE(shownAt.empty());
    EXPECT_EQ(waits(), 0);
}

TEST_F(TrayIconTest, disablingWhileAClickWaitsLetsTheWaitEndSilently)
{
    area.click(id());
    tray->setEnabled(false);
    EXPECT_FALSE(tray->ClickPending());
    tray->setEnabled(true);
    waitForClickWaits();
    EXPECT_TRUE(events.empty());
}

// --- popup menus

struct PopupCase {
    const char* name;
    quint32 down;
    Qt::MouseButton button;
};

class TrayPopups : public TrayIconTest, public ::testing::WithParamInterface<PopupCase> {
protected:
    void SetUp() override
    {
        TrayIconTest::SetUp();
        recordMouse();
        menu = std::make_unique<QMenu>();
        menu->addAction(u"item"_s);
        closeWhenShown(*menu, shownAt);
        if (GetParam().button == Qt::LeftButton)
            tray->setLBPopupMenu(menu.get());
        else
            tray->setRBPopupMenu(menu.get());
        area.cursor = {150, 110};
    }
    QString downEvent() const { return u"down %1 {%1} 150,110"_s.arg(buttonName(GetParam().button)); }

    std::unique_ptr<QMenu> menu;
    std::vector<QPoint> shownAt;
};

TEST_P(TrayPopups, pressOpensTheButtonsMenuAtThePointerInsteadOfOnMouseDown)
{
    area.send(id(), {GetParam().down});
    EXPECT_EQ(shownAt, std::vector<QPoint>{QPoint(150, 110)});
    EXPECT_TRUE(events.empty());
}

TEST_P(TrayPopups, withoutAutoPopupThePressFiresOnMouseDown)
{
    tray->setAutoPopup(false);
    area.send(id(), {GetParam().down});
    EXPECT_TRUE(shownAt.empty());
    EXPECT_EQ(events, Events{downEvent()});
}

TEST_P(TrayPopups, destroyedMenuIsClearedAndThePressFiresOnMouseDown)
{
    menu.reset();
    EXPECT_EQ(tray->LBPopupMenu(), nullptr);
    EXPECT_EQ(tray->RBPopupMenu(), nullptr);
    area.send(id(), {GetParam().down});
    EXPECT_EQ(events, Events{downEvent()});
}

INSTANTIATE_TEST_SUITE_P(TrayIcon, TrayPopups,
                         ::testing::Values(PopupCase{"left", NA::wmLButtonDown, Qt::LeftButton},
                                           PopupCase{"right", NA::wmRButtonDown, Qt::RightButton}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayIconTest, menuItemThatDestroysTheIconEndsTheMessageSafely)
{
    QWidget form;
    QPointer<TTrayIcon> owned = new TTrayIcon(area, &form); // owned by a form, as the main window does
    const quint32 ownedId = owned->IconID();
    QMenu menu;
    menu.addAction(u"終了(&X)"_s);
    std::vector<QPoint> shownAt;
    closeWhenShown(menu, shownAt, [&owned] { delete owned.data(); });
    owned->setRBPopupMenu(&menu);

    area.send(ownedId, {NA::wmRButtonDown, NA::wmRButtonUp});
    EXPECT_EQ(shownAt.size(), 1u);
    EXPECT_FALSE(owned);
}

// --- properties, tip and flags

TEST_F(TrayIconTest, defaults)
{
    EXPECT_EQ(tray->AnimateRate(), 500);
    EXPECT_TRUE(tray->AutoPopup());
    EXPECT_TRUE(tray->Enabled());
    EXPECT_TRUE(tray->Icon().isNull());
    EXPECT_EQ(tray->TipHelp(), u"TipHelp"_s);
    EXPECT_FALSE(tray->Visible());
    EXPECT_FALSE(tray->Shown());
    EXPECT_TRUE(area.requests().empty());
}

TEST_F(TrayIconTest, animateRateIsAtLeast100)
{
    for (const auto& [written, read] :
         std::vector<std::pair<int, int>>{{50, 100}, {-5, 100}, {100, 100}, {101, 101}}) {
        tray->setAnimateRate(written);
        EXPECT_EQ(tray->AnimateRate(), read) << written;
    }
}

struct TipCase {
    const char* name;
    QString written;
    QString stored;
};

class TrayTips : public ::testing::TestWithParam<TipCase> {};

TEST_P(TrayTips, tipIsCutToWholeCharactersWithin62Bytes)
{
    const QString cut = TTrayIcon::cutToBytes(GetParam().written, TTrayIcon::kMaxTipBytes);
    EXPECT_EQ(cut, GetParam().stored);
    if (AnsiText::fitsCp932(cut)) {
        EXPECT_LE(AnsiText::encode(cut).size(), 62);
    }
}

INSTANTIATE_TEST_SUITE_P(
    TrayIcon, TrayTips,
    ::testing::Values(
        TipCase{"ascii70", QString(70, u'a'), QString(62, u'a')},
        TipCase{"exactly62", QString(62, u'b'), QString(62, u'b')},
        TipCase{"kanji70Bytes", QString(35, u'予'), QString(31, u'予')},
        TipCase{"oddByteNeverSplitsAKanji", u"a"_s + QString(35, u'あ'), u"a"_s + QString(30, u'あ')},
        TipCase{"halfWidthKanaOneByteEach", QString(70, u'ｱ'), QString(62, u'ｱ')},
        TipCase{"emojiCountsItsUtf8Bytes", QString(58, u'c') + u"😀x"_s, QString(58, u'c') + u"😀"_s},
        TipCase{"emojiThatDoesNotFitIsDroppedWhole", QString(60, u'c') + u"😀"_s, QString(60, u'c')},
        TipCase{"empty", QString(), QString()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TrayIconTest, tipOf70BytesIsShownAsItsFirst62AndTheSameTextAgainSendsNothing)
{
    show();
    const QString longTip = QString(70, u'x');
    tray->setTipHelp(longTip);
    EXPECT_EQ(tray->TipHelp(), QString(62, u'x'));
    ASSERT_EQ(area.requests().size(), 1);
    EXPECT_EQ(area.requests()[0].kind, Kind::Modify);
    EXPECT_EQ(area.held(id()).tip, QString(62, u'x'));

    tray->setTipHelp(longTip);
    tray->setTipHelp(QString(62, u'x') + u"different tail"_s);
    EXPECT_EQ(area.requests().size(), 1);
}

TEST_F(TrayIconTest, emptyTipSendsFlags3AndAnyOtherTip7)
{
    tray->setIcon(image);
    tray->setTipHelp(QString());
    tray->setVisible(true);
    tray->setTipHelp(u"QuavScheduler"_s);
    tray->setTipHelp(QString());
    const auto& r = area.requests();
    ASSERT_EQ(r.size(), 3);
    EXPECT_EQ((std::vector<std::pair<Kind, quint32>>{
                  {r[0].kind, r[0].flags}, {r[1].kind, r[1].flags}, {r[2].kind, r[2].flags}}),
              (std::vector<std::pair<Kind, quint32>>{{Kind::Add, 3}, {Kind::Modify, 7}, {Kind::Modify, 3}}));
    EXPECT_EQ(r[1].tip, u"QuavScheduler"_s);
}

TEST_F(TrayIconTest, tipWrittenWhileNotShownIsStoredAndSentWithTheAdd)
{
    tray->setTipHelp(u"予定あり"_s);
    EXPECT_TRUE(area.requests().empty());
    tray->setIcon(image);
    tray->setVisible(true);
    ASSERT_EQ(area.requests().size(), 1);
    EXPECT_EQ(area.requests()[0].tip, u"予定あり"_s);
    EXPECT_EQ(area.requests()[0].id, id());
    EXPECT_EQ(area.requests()[0].iconKey, image.cacheKey());
}

// --- visibility and image

TEST_F(TrayIconTest, visibleWithoutAnImageStaysFalseAndSendsNothing)
{
    tray->setVisible(true);
    EXPECT_FALSE(tray->Visible());
    EXPECT_TRUE(area.requests().empty());
}

TEST_F(TrayIconTest, addModifyDeleteFollowVisibleAndIcon)
{
    QSignalSpy shown(tray.get(), &TTrayIcon::shownChanged);
    tray->setIcon(image);
    EXPECT_TRUE(area.requests().empty());
    tray->setVisible(true);
    EXPECT_TRUE(tray->Shown());
    tray->setVisible(true);

    const QIcon blue = solidIcon(Qt::blue);
    tray->setIcon(blue);
    tray->setIcon(blue);
    EXPECT_EQ(area.held(id()).iconKey, blue.cacheKey());

    tray->setVisible(false);
    tray->setVisible(false);
    EXPECT_FALSE(tray->Shown());
    tray->setVisible(true);
    tray->setIcon(QIcon());
    EXPECT_FALSE(tray->Visible());
    EXPECT_TRUE(tray->Icon().isNull());

    std::vector<Kind> kinds;
    for (const auto& r : area.requests())
        kinds.push_back(r.kind);
    EXPECT_EQ(kinds, (std::vector<Kind>{Kind::Add, Kind::Modify, Kind::Delete, Kind::Add, Kind::Delete}));
    EXPECT_EQ(shown.size(), 4);
    EXPECT_FALSE(area.holds(id()));
}

TEST_F(TrayIconTest, destructionDeletesOnlyARegisteredIcon)
{
    tray.reset();
    EXPECT_TRUE(area.requests().empty());

    tray = std::make_unique<TTrayIcon>(area);
    show();
    const quint32 shownId = id();
    tray.reset();
    ASSERT_EQ(area.requests().size(), 1);
    EXPECT_EQ(area.requests()[0].kind, Kind::Delete);
    EXPECT_EQ(area.requests()[0].id, shownId);
}

TEST_F(TrayIconTest, whileLoadingVisibleOnlyRecordsAndLoadedAdds)
{
    tray->BeginLoading();
    tray->setIcon(image);
    tray->setTipHelp(u"QuavScheduler"_s);
    tray->setVisible(true);
    EXPECT_TRUE(area.requests().empty());
    tray->Loaded();
    ASSERT_EQ(area.requests().size(), 1);
    EXPECT_EQ(area.requests()[0].kind, Kind::Add);
    EXPECT_EQ(area.requests()[0].tip, u"QuavScheduler"_s);
    EXPECT_TRUE(tray->Shown());
}

// --- failures

TEST_F(TrayIconTest, refusedAddOrModifyRaisesTheRegisterError)
{
    const QString text = u"タスクトレイにアイコンを登録できません。"_s;
    tray->setIcon(image);
    area.refuseAdd = true;
    try {
        tray->setVisible(true);
        FAIL() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.message(), text);
    }
    EXPECT_FALSE(tray->Shown());

    area.refuseAdd = false;
    tray->setVisible(false);
    tray->setVisible(true);
    ASSERT_TRUE(tray->Shown());
    area.refuseModify = true;
    EXPECT_THROW(tray->setTipHelp(u"other"_s), EOutOfResources);
    EXPECT_THROW(tray->setIcon(solidIcon(Qt::green)), EOutOfResources);
}

TEST_F(TrayIconTest, refusedDeleteIsNotReportedAndTheIconCountsAsGone)
{
    show();
    area.refuseDelete = true;
    EXPECT_NO_THROW(tray->setVisible(false));
    EXPECT_FALSE(tray->Shown());
}

// --- no notification area, or one that comes and goes

TEST_F(TrayIconTest, withoutAreaTheIconWaitsAndIsAddedWhenOneAppears)
{
    area.setAvailable(false);
    QSignalSpy shown(tray.get(), &TTrayIcon::shownChanged);
    tray->setIcon(image);
    EXPECT_NO_THROW(tray->setVisible(true));
    EXPECT_TRUE(tray->Visible());
    EXPECT_FALSE(tray->Shown());
    EXPECT_TRUE(area.requests().empty());

    area.setAvailable(true);
    EXPECT_TRUE(tray->Shown());
    EXPECT_TRUE(area.holds(id()));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0][0].toBool(), true);
}

TEST_F(TrayIconTest, lostAreaMakesTheIconNotShownAndARecreatedOneGetsItBack)
{
    show();
    tray->setTipHelp(u"QuavScheduler"_s);
    QSignalSpy shown(tray.get(), &TTrayIcon::shownChanged);

    area.setAvailable(false);
    EXPECT_FALSE(tray->Shown());
    area.setAvailable(true);
    EXPECT_TRUE(tray->Shown());

    area.recreate();
    EXPECT_TRUE(tray->Shown());
    ASSERT_TRUE(area.holds(id()));
    EXPECT_EQ(area.held(id()).tip, u"QuavScheduler"_s);
    EXPECT_EQ(area.held(id()).iconKey, image.cacheKey());
    EXPECT_EQ(shown.size(), 2);
}

TEST_F(TrayIconTest, appearingAreaAddsNoIconThatIsNotWantedOrStillLoading)
{
    TTrayIcon loading(area);
    loading.BeginLoading();
    loading.setIcon(image);
    loading.setVisible(true);
    area.setAvailable(false);
    area.setAvailable(true);
    EXPECT_TRUE(area.requests().empty());
}

TEST_F(TrayIconTest, refusedAddWhenTheAreaAppearsStaysInsideTheIcon)
{
    area.setAvailable(false);
    tray->setIcon(image);
    tray->setVisible(true);
    area.refuseAdd = true;
    EXPECT_NO_THROW(area.setAvailable(true));
    EXPECT_FALSE(tray->Shown());
}

TEST(TrayIconQtArea, desktopWithoutTrayStartsAllTheSame)
{
    QtNotificationArea area;
    if (QSystemTrayIcon::isSystemTrayAvailable())
        GTEST_SKIP() << "this desktop has a notification area";
    TTrayIcon tray(area);
    tray.setIcon(solidIcon(Qt::red));
    EXPECT_NO_THROW(tray.setVisible(true));
    EXPECT_FALSE(tray.Shown());
    EXPECT_GT(area.doubleClickTime(), 0);
}

// --- IDs

TEST(TrayIconIds, firstIsOneNextIsOneMoreAndTheNewestsIdIsReused)
{
    RecordingNotificationArea area;
    auto first = std::make_unique<TTrayIcon>(area);
    auto second = std::make_unique<TTrayIcon>(area);
    EXPECT_EQ(first->IconID(), 1u);
    EXPECT_EQ(second->IconID(), 2u);

    second.reset();
    second = std::make_unique<TTrayIcon>(area);
    EXPECT_EQ(second->IconID(), 2u);

    first.reset();
    TTrayIcon third(area);
    EXPECT_EQ(third.IconID(), 3u);
}

TEST(TrayIconIds, atMost100IconsLive)
{
    RecordingNotificationArea area;
    std::vector<std::unique_ptr<TTrayIcon>> icons;
    for (int i = 0; i < TTrayIcon::kMaxIcons; ++i)
        icons.push_back(std::make_unique<TTrayIcon>(area));
    try {
        TTrayIcon extra(area);
        FAIL() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_EQ(e.message(), u"タスクトレイにアイコンを登録できません。"_s);
    }
    icons.erase(icons.begin() + 10);
    TTrayIcon again(area);
    EXPECT_EQ(again.IconID(), 101u);
}

} // namespace
