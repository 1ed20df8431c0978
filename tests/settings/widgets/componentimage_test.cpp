#include "settings/widgets/ComponentImage.h"

#include "controls/jvStringGrid.h"
#include "settings/RegMng.h"

#include "platform/ProfileFile.h"

#include "support/RecordingMessageService.h"
#include "support/TempFolder.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSplitter>
#include <QTextEdit>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <memory>

namespace {

QByteArray imageOf(QWidget* component)
{
    QBuffer buffer;
    buffer.open(QIODevice::ReadWrite);
    HStreamUtils::WriteComponentImage(component, buffer);
    return buffer.data();
}

QWidget* readImage(const QByteArray& image, QWidget* control)
{
    QByteArray data = image;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    return HStreamUtils::ReadComponentImage(buffer, control);
}

// The bytes around the first difference, readable enough to name the property.
std::string differenceOf(const QByteArray& a, const QByteArray& b)
{
    qsizetype at = 0;
    while (at < a.size() && at < b.size() && a[at] == b[at])
        ++at;
    const auto window = [at](QByteArray bytes) {
        return bytes.mid(std::max<qsizetype>(at - 40, 0), 80).replace('\0', '.').toStdString();
    };
    return "at " + std::to_string(at) + ":\n" + window(a) + "\n" + window(b);
}

QStringList namesOf(QWidget* control)
{
    QStringList names;
    HStreamUtils::ClearNames(control, names);
    int counter = 0;
    HStreamUtils::RestoreNames(control, names, counter);
    return names;
}

// A window with a header label, a panel (a label over an editor) and a footer, laid out top to
// bottom, as the main window holds its panels.
class ComponentImages : public ::testing::Test {
protected:
    TempFolder dir;
    RecordingMessageService messages;
    TRegManager manager{messages};
    std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
    QVBoxLayout* outer = new QVBoxLayout(window.get());
    QWidget* panel = new QWidget;
    QLabel* label = new QLabel(QStringLiteral("予定"));
    QPlainTextEdit* memo = new QPlainTextEdit;

    ComponentImages()
    {
        manager.SetRegType(TRegType::rtIni);
        manager.SetIniFileName(dir.file(QStringLiteral("QuavScheduler.ini")));
        manager.SetComponentImages(&TWidgetComponentImages::Instance());
        TRegItem* item = manager.RegItems().Add();
        item->SetName(QStringLiteral("Panel"));
        item->SetSection(QStringLiteral("Panel"));
        item->SetIdent(QStringLiteral("image"));

        window->setObjectName(QStringLiteral("Form1"));
        outer->addWidget(new QLabel(QStringLiteral("head")));
        outer->addWidget(panel, 2);
        outer->addWidget(new QLabel(QStringLiteral("foot")));
        panel->setObjectName(QStringLiteral("Panel1"));
        auto* inner = new QVBoxLayout(panel);
        inner->setContentsMargins(3, 4, 5, 6);
        inner->setSpacing(7);
        inner->addWidget(label);
        inner->addWidget(memo, 1);
        inner->addStretch(2);
        label->setObjectName(QStringLiteral("Label1"));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->setToolTip(QStringLiteral("ヒント"));
        memo->setObjectName(QStringLiteral("Memo1"));
        memo->setPlainText(QStringLiteral("一行目\n二行目"));
        memo->setReadOnly(true);
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        QFont font(QStringLiteral("Noto Sans Mono CJK JP"));
        font.setPointSize(13);
        font.setBold(true);
        memo->setFont(font);
        window->resize(300, 400);
        window->show();
    }

    TRegFiler& filer() { return manager.GetFiler(QStringLiteral("Panel")); }
};

} // namespace

TEST_F(ComponentImages, aPanelComesBackWithItsPropertiesInItsPlace)
{
    filer().WriteComponent(panel);
    const QByteArray image = imageOf(panel);
    const QRect geometry = panel->geometry();
    // Changes after the write are what the read must undo.
    label->setText(QStringLiteral("changed"));
    memo->setPlainText(QStringLiteral("changed"));
    memo->setReadOnly(false);
    QPointer<QWidget> old = panel;

    QWidget* fresh = filer().ReadComponent(panel);
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(fresh->objectName(), QStringLiteral("Panel1"));
    EXPECT_EQ(fresh->parentWidget(), window.get());
    EXPECT_EQ(outer->indexOf(fresh), 1);
    EXPECT_EQ(outer->stretch(1), 2);
    EXPECT_EQ(fresh->geometry(), geometry);
    EXPECT_TRUE(fresh->isVisible());

    auto* newLabel = fresh->findChild<QLabel*>(QStringLiteral("Label1"));
    auto* newMemo = fresh->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"));
    ASSERT_NE(newLabel, nullptr);
    ASSERT_NE(newMemo, nullptr);
    EXPECT_EQ(newLabel->text(), QStringLiteral("予定"));
    EXPECT_EQ(newLabel->alignment(), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(newLabel->toolTip(), QStringLiteral("ヒント"));
    EXPECT_EQ(newMemo->toPlainText(), QStringLiteral("一行目\n二行目"));
    EXPECT_TRUE(newMemo->isReadOnly());
    EXPECT_EQ(newMemo->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(newMemo->font().pointSize(), 13);
    EXPECT_TRUE(newMemo->font().bold());
    // The label's font was never set, so it still follows the window's.
    EXPECT_FALSE(newLabel->testAttribute(Qt::WA_SetFont));

    auto* layout = qobject_cast<QVBoxLayout*>(fresh->layout());
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->contentsMargins(), QMargins(3, 4, 5, 6));
    EXPECT_EQ(layout->spacing(), 7);
    ASSERT_EQ(layout->count(), 3);
    EXPECT_EQ(layout->itemAt(0)->widget(), newLabel);
    EXPECT_EQ(layout->itemAt(1)->widget(), newMemo);
    EXPECT_EQ(layout->stretch(1), 1);
    EXPECT_NE(layout->itemAt(2)->spacerItem(), nullptr);
    EXPECT_EQ(layout->stretch(2), 2);

    // Written again, the new panel gives the very image it came from: nothing drifted.
    const QByteArray again = imageOf(fresh);
    EXPECT_TRUE(again == image) << differenceOf(again, image);
}

TEST_F(ComponentImages, storedStateNotTheParentsIsKept)
{
    memo->hide();
    label->setEnabled(false);
    window->setEnabled(false); // the panel is disabled only through its window
    const QByteArray image = imageOf(panel);
    window->setEnabled(true);

    QWidget* fresh = readImage(image, panel);
    ASSERT_NE(fresh, nullptr);
    EXPECT_TRUE(fresh->isEnabled());
    EXPECT_FALSE(fresh->findChild<QLabel*>(QStringLiteral("Label1"))->isEnabled());
    EXPECT_TRUE(fresh->findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->isHidden());
    EXPECT_TRUE(fresh->findChild<QLabel*>(QStringLiteral("Label1"))->isVisible());
}

TEST_F(ComponentImages, aSplitterPaneKeepsItsIndexAndTheSplitterItsSizes)
{
    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    outer->addWidget(splitter);
    auto* left = new QTextEdit;
    left->setObjectName(QStringLiteral("Left"));
    left->setHtml(QStringLiteral("<b>太字</b>"));
    auto* grid = new TjvStringGrid;
    grid->setObjectName(QStringLiteral("Grid"));
    grid->setColCount(7);
    grid->setRowCount(33);
    grid->setFixedCols(1);
    grid->setColWidths(3, 91);
    grid->setOptions(grid->Options() | TjvStringGrid::goEditing);
    splitter->addWidget(left);
    splitter->addWidget(grid);
    splitter->setSizes({100, 180});
    QCoreApplication::processEvents();
    const QList<int> sizes = splitter->sizes();

    QWidget* gridCopy = readImage(imageOf(grid), grid);
    ASSERT_NE(gridCopy, nullptr);
    EXPECT_EQ(splitter->indexOf(gridCopy), 1);
    auto* newGrid = qobject_cast<TjvStringGrid*>(gridCopy);
    ASSERT_NE(newGrid, nullptr);
    EXPECT_EQ(newGrid->ColCount(), 7);
    EXPECT_EQ(newGrid->RowCount(), 33);
    EXPECT_EQ(newGrid->FixedCols(), 1);
    EXPECT_EQ(newGrid->ColWidths(3), 91);
    EXPECT_TRUE(newGrid->Options() & TjvStringGrid::goEditing);

    QWidget* splitterCopy = readImage(imageOf(splitter), splitter);
    auto* newSplitter = qobject_cast<QSplitter*>(splitterCopy);
    ASSERT_NE(newSplitter, nullptr);
    QCoreApplication::processEvents();
    ASSERT_EQ(newSplitter->count(), 2);
    EXPECT_EQ(newSplitter->widget(0)->objectName(), QStringLiteral("Left"));
    EXPECT_TRUE(qobject_cast<QTextEdit*>(newSplitter->widget(0))->toHtml().contains(QStringLiteral("太字")));
    EXPECT_EQ(newSplitter->sizes(), sizes);
    EXPECT_EQ(outer->indexOf(newSplitter), 3);
}

TEST_F(ComponentImages, windowsAreNeitherStoredNorReplaced)
{
    filer().WriteComponent(window.get());
    EXPECT_FALSE(dir.exists(QStringLiteral("QuavScheduler.ini")));
    ProfileFile::put(manager.IniFileName(), QStringLiteral("Panel"), QStringLiteral("image_c"),
                     QStringLiteral("1"));
    ProfileFile::put(manager.IniFileName(), QStringLiteral("Panel"), QStringLiteral("image_d0"),
                     QString::fromLatin1(imageOf(label).toHex()));
    EXPECT_EQ(filer().ReadComponent(window.get()), nullptr);
    EXPECT_EQ(window->objectName(), QStringLiteral("Form1"));
}

TEST_F(ComponentImages, nothingStoredLeavesTheControl)
{
    EXPECT_EQ(filer().ReadComponent(panel), nullptr);
    EXPECT_EQ(outer->indexOf(panel), 1);
    EXPECT_EQ(panel->objectName(), QStringLiteral("Panel1"));
    EXPECT_EQ(memo->objectName(), QStringLiteral("Memo1"));
}

TEST_F(ComponentImages, namesAreClearedAndRestoredInPreOrder)
{
    QStringList names;
    HStreamUtils::ClearNames(panel, names);
    EXPECT_EQ(names.mid(0, 2), (QStringList{QStringLiteral("Panel1"), QStringLiteral("Label1")}));
    EXPECT_TRUE(names.contains(QStringLiteral("Memo1")));
    EXPECT_TRUE(panel->objectName().isEmpty());
    EXPECT_TRUE(memo->objectName().isEmpty());
    int counter = 0;
    HStreamUtils::RestoreNames(panel, names, counter);
    EXPECT_EQ(counter, names.size());
    EXPECT_EQ(memo->objectName(), QStringLiteral("Memo1"));
    EXPECT_EQ(panel->objectName(), QStringLiteral("Panel1"));
}

TEST_F(ComponentImages, aMissingListEndIsTolerated)
{
    const QByteArray image = imageOf(panel);
    ASSERT_TRUE(image.endsWith(QByteArray(3, '\0')));
    EXPECT_NE(readImage(image.chopped(1), panel), nullptr);
}

TEST_F(ComponentImages, damagedImagesLeaveTheControlAndItsNames)
{
    const QByteArray image = imageOf(panel);
    const QStringList names = namesOf(panel);
    const auto unchanged = [&](const QByteArray& bad, const std::string& what) {
        EXPECT_EQ(readImage(bad, panel), nullptr) << what;
        EXPECT_EQ(namesOf(panel), names) << what;
        EXPECT_EQ(outer->indexOf(panel), 1) << what;
        EXPECT_EQ(panel->findChildren<QWidget*>(Qt::FindDirectChildrenOnly).size(), 2) << what;
    };
    // Every cut before the record's last end marker.
    for (qsizetype size = 0; size < image.size() - 1; ++size)
        unchanged(image.left(size), "cut at " + std::to_string(size));

    QByteArray other = image;
    other.replace(QByteArrayLiteral("QLabel"), QByteArrayLiteral("QDialg"));
    unchanged(other, "class outside the table");
    other = image;
    other[0] = 'X';
    unchanged(other, "signature");
    unchanged(image.chopped(1) + image, "two components");
    unchanged(image.chopped(1) + '\x07', "list end");

    // A length no stream holds is refused before anything is allocated.
    QByteArray huge = QByteArrayLiteral("TPF0") + QByteArray("\xFF\xFF\xFF\x7F", 4) + QByteArray(16, 'Q');
    unchanged(huge, "huge class name");
}

TEST_F(ComponentImages, propertiesAnImageMustNotSetAreRefused)
{
    // An image that asks to show the control (a window, while it has no parent) is damage.
    QByteArray image = imageOf(label);
    const QByteArray text = QByteArrayLiteral("toolTip");
    ASSERT_TRUE(image.contains(text));
    QByteArray visible = image;
    visible.replace(text, QByteArrayLiteral("visible"));
    EXPECT_EQ(readImage(visible, label), nullptr);
    EXPECT_EQ(label->objectName(), QStringLiteral("Label1"));
}

TEST_F(ComponentImages, classesOutsideTheTableCannotBeStored)
{
    auto* button = new QPushButton(QStringLiteral("OK"), panel);
    button->setObjectName(QStringLiteral("Button1"));
    try {
        filer().WriteComponent(panel);
        FAIL() << "no error";
    } catch (const EFilerError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("QPushButton は保存できません"));
    }
    EXPECT_FALSE(dir.exists(QStringLiteral("QuavScheduler.ini")));
}

TEST(ComponentPlaces, theCentralWidgetIsReplacedAsSuch)
{
    QMainWindow window;
    auto* central = new QLabel(QStringLiteral("centre"));
    central->setObjectName(QStringLiteral("Central"));
    window.setCentralWidget(central);
    window.show();
    const QByteArray image = imageOf(central);
    central->setText(QStringLiteral("changed"));

    QWidget* fresh = readImage(image, central);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(window.centralWidget(), fresh);
    EXPECT_EQ(qobject_cast<QLabel*>(fresh)->text(), QStringLiteral("centre"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(window.centralWidget(), fresh);
}

TEST(ComponentPlaces, parentsWithTheirOwnListsKeepTheirControl)
{
    // A status bar lays out only the widgets it was given; a replacement would drop out of it.
    QMainWindow window;
    auto* status = new QLabel(QStringLiteral("status"));
    status->setObjectName(QStringLiteral("StatusPanel"));
    window.statusBar()->addWidget(status, 1);
    auto* tool = new QLabel(QStringLiteral("tool"));
    tool->setObjectName(QStringLiteral("lblThisMonth"));
    window.addToolBar(QStringLiteral("ToolBar1"))->addWidget(tool);
    window.show();
    for (QLabel* label : {status, tool}) {
        QPointer<QLabel> kept = label;
        EXPECT_EQ(readImage(imageOf(label), label), nullptr);
        ASSERT_FALSE(kept.isNull());
        EXPECT_FALSE(kept->objectName().isEmpty());
    }
}

TEST(ComponentPlaces, aGridShapeNoMemoryHoldsIsRefused)
{
    QWidget host;
    auto* layout = new QVBoxLayout(&host);
    auto* grid = new TjvStringGrid;
    grid->setObjectName(QStringLiteral("jvStringGrid1"));
    layout->addWidget(grid);
    const QByteArray image = imageOf(grid);
    const qsizetype shape = image.indexOf(QByteArrayLiteral("@Shape"));
    ASSERT_GT(shape, 0);
    // Name, list count, column count, then the row count.
    const qsizetype rows = shape + 6 + 4 + 4;
    struct Case {
        const char* what;
        quint32 rows;
    } const cases[] = {{"a billion rows", 0x40000000u}, {"no rows", 0u}, {"negative", 0xFFFFFFFFu}};
    for (const Case& c : cases) {
        QByteArray bad = image;
        for (int i = 0; i < 4; ++i)
            bad[rows + i] = char((c.rows >> (8 * i)) & 0xFF);
        EXPECT_EQ(readImage(bad, grid), nullptr) << c.what;
        EXPECT_EQ(layout->indexOf(grid), 0) << c.what;
        EXPECT_EQ(grid->objectName(), QStringLiteral("jvStringGrid1")) << c.what;
    }
    EXPECT_NE(readImage(image, grid), nullptr);
}
