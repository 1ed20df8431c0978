#include "app/QtMessageService.h"
#include "app/QuavApplication.h"
#include "platform/Failure.h"

#include "support/RecordingMessageService.h"

#include <QAction>
#include <QColorDialog>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <memory>

#include <gtest/gtest.h>

namespace {

RecordingMessageService* g_messages = nullptr;

// Throws from its mouse handler, as any command handler of the program may.
class ThrowingWidget final : public QWidget {
public:
    int presses = 0;
    bool throwStd = false;

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        ++presses;
        if (throwStd)
            throw std::runtime_error("plain failure");
        throw EInOutError(QStringLiteral("ファイル x を開けません。"));
    }
};

TEST(QuavApplication, uncaughtFailureIsReportedAndLoopGoesOn)
{
    g_messages->clear();
    ThrowingWidget w;
    w.resize(100, 100);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));

    QTest::mouseClick(&w, Qt::LeftButton);
    QTest::mouseClick(&w, Qt::LeftButton);
    EXPECT_EQ(w.presses, 2);
    ASSERT_EQ(g_messages->shown().size(), 2);
    const auto& box = g_messages->shown().first();
    EXPECT_EQ(box.text, QStringLiteral("ファイル x を開けません。"));
    EXPECT_EQ(box.caption, QStringLiteral("QuavScheduler"));
    EXPECT_EQ(box.icon, MessageService::Icon::Error);
    EXPECT_EQ(box.buttons, MessageService::Buttons::Ok);
}

TEST(QuavApplication, standardExceptionsAreReportedToo)
{
    g_messages->clear();
    ThrowingWidget w;
    w.throwStd = true;
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    QTest::mouseClick(&w, Qt::LeftButton);
    EXPECT_EQ(g_messages->texts(), QStringList{QStringLiteral("plain failure")});
}

TEST(QuavApplication, postedEventFailureDoesNotStopLaterEvents)
{
    g_messages->clear();
    ThrowingWidget w;
    int after = 0;
    QMetaObject::invokeMethod(
        &w, [] { throw EConvertError(QStringLiteral("'x' は整数ではありません")); }, Qt::QueuedConnection);
    QMetaObject::invokeMethod(
        &w, [&after] { ++after; }, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    EXPECT_EQ(after, 1);
    EXPECT_EQ(g_messages->count(QStringLiteral("'x' は整数ではありません")), 1);
}

// Kana or kanji: text that was translated, not Qt's English.
bool japanese(const QString& text)
{
    for (const QChar c : text) {
        if ((c.unicode() >= 0x3040 && c.unicode() <= 0x30FF) ||
            (c.unicode() >= 0x4E00 && c.unicode() <= 0x9FFF))
            return true;
    }
    return false;
}

QStringList shownTexts(const QWidget& widget)
{
    QStringList texts;
    for (const QLabel* label : widget.findChildren<QLabel*>())
        texts.append(label->text());
    for (const QPushButton* button : widget.findChildren<QPushButton*>())
        texts.append(button->text());
    return texts;
}

TEST(QuavApplication, qtsOwnDialogsAndMenusSpeakJapanese)
{
    QColorDialog dialog;
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    const QStringList texts = shownTexts(dialog);
    EXPECT_TRUE(texts.contains(u"基本カラー(&B)"_qs)) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains(u"キャンセル"_qs)) << texts.join(u'|').toStdString();

    QLineEdit field;
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    QStringList entries;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator())
            entries.append(action->text());
    }
    ASSERT_FALSE(entries.isEmpty());
    for (const QString& entry : entries)
        EXPECT_TRUE(japanese(entry)) << entry.toStdString();
}

// With the main window hidden in the tray, a dialog or a message box is the only window shown:
// its closing must not end the program behind the close sequence's back.
TEST(QuavApplication, closingTheLastShownWindowDoesNotEndTheProgram)
{
    QDialog dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    bool ranOn = false;
    QTimer::singleShot(0, &dialog, &QDialog::reject);
    QTimer::singleShot(300, [&ranOn] {
        ranOn = true;
        QCoreApplication::exit(7);
    });
    EXPECT_EQ(QCoreApplication::exec(), 7);
    EXPECT_TRUE(ranOn);
}

TEST(QuavApplication, windowTitlesAreExactlyTheirCaptions)
{
    QWidget window;
    window.setWindowTitle(u"項目設定"_qs);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_EQ(window.windowHandle()->title(), u"項目設定"_qs);
}

// The box shown now; clicks its first button once the box's own loop runs.
void answerBoxWhenShown(QWidget*& parent, QString& title)
{
    QTimer::singleShot(0, [&parent, &title] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        parent = box->parentWidget();
        title = box->windowTitle();
        box->buttons().first()->click();
    });
}

TEST(QtMessageService, boxesBelongToTheMainWindowAndGiveTheKeyboardBack)
{
    QWidget owner;
    auto* field = new QLineEdit(&owner);
    owner.show();
    owner.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&owner));
    field->setFocus();
    QtMessageService service;
    service.setOwner(&owner);

    QWidget* parent = nullptr;
    QString title;
    answerBoxWhenShown(parent, title);
    service.show(u"保存しました"_qs, MessageService::Icon::Information, MessageService::Buttons::Ok);
    EXPECT_EQ(parent, &owner);
    EXPECT_EQ(title, u"QuavScheduler"_qs);
    // The platform activates the window in its own time.
    EXPECT_TRUE(QTest::qWaitFor([field] { return QApplication::focusWidget() == field; }, 2000));

    // Hidden in the tray, the window still owns the box.
    owner.hide();
    parent = nullptr;
    answerBoxWhenShown(parent, title);
    service.show(u"x"_qs, MessageService::Icon::Error, MessageService::Buttons::OkCancel, u"題"_qs);
    EXPECT_EQ(parent, &owner);
    EXPECT_EQ(title, u"題"_qs);
}

} // namespace

int main(int argc, char** argv)
{
    RecordingMessageService messages;
    g_messages = &messages;
    QuavApplication app(argc, argv, &messages);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
