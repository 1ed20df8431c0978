#include "settings/widgets/ComponentClasses.h"

#include "settings/ComponentImages.h"
#include "settings/widgets/ImageStream.h"

#include "controls/jvStringGrid.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTextEdit>
#include <QWidget>

namespace {

// Large enough for any month grid or grid file we write, small enough that a damaged image
// cannot make the grid allocate gigabytes.
constexpr int kMaxGridCols = 1024;
constexpr int kMaxGridRows = 1 << 17;
constexpr qint64 kMaxGridCells = 1 << 20;

template <typename T> std::function<QWidget*(QWidget*)> maker()
{
    return [](QWidget* parent) -> QWidget* { return new T(parent); };
}

QList<int> intList(const QVariant& value)
{
    return value.value<QList<int>>();
}

QList<QWidget*> splitterChildren(QWidget* widget)
{
    auto* splitter = static_cast<QSplitter*>(widget);
    QList<QWidget*> list;
    for (int i = 0; i < splitter->count(); ++i)
        list.append(splitter->widget(i));
    return list;
}

QList<TExtraValue> splitterExtras(QWidget* widget)
{
    const QList<int> sizes = static_cast<QSplitter*>(widget)->sizes();
    return {{QStringLiteral("@Sizes"), ValueKind::IntList, QVariant::fromValue(sizes)}};
}

void splitterLoad(QWidget* widget, const TExtraValue& extra)
{
    auto* splitter = static_cast<QSplitter*>(widget);
    if (extra.name != QLatin1String("@Sizes") || extra.kind != ValueKind::IntList)
        ThrowInvalidImage();
    splitter->setSizes(intList(extra.value));
}

QList<TExtraValue> gridExtras(QWidget* widget)
{
    const auto* grid = static_cast<TjvStringGrid*>(widget);
    const QList<int> shape{grid->ColCount(),    grid->RowCount(),        grid->FixedCols(),
                           grid->FixedRows(),   grid->DefaultColWidth(), grid->DefaultRowHeight(),
                           int(grid->Options())};
    QList<int> widths;
    for (int col = 0; col < grid->ColCount(); ++col)
        widths.append(grid->ColWidths(col));
    return {{QStringLiteral("@Shape"), ValueKind::IntList, QVariant::fromValue(shape)},
            {QStringLiteral("@ColWidths"), ValueKind::IntList, QVariant::fromValue(widths)}};
}

void gridLoad(QWidget* widget, const TExtraValue& extra)
{
    auto* grid = static_cast<TjvStringGrid*>(widget);
    if (extra.kind != ValueKind::IntList)
        ThrowInvalidImage();
    const QList<int> values = intList(extra.value);
    if (extra.name == QLatin1String("@Shape")) {
        if (values.size() != 7)
            ThrowInvalidImage();
        const int cols = values[0];
        const int rows = values[1];
        const int fixedCols = values[2];
        const int fixedRows = values[3];
        if (cols < 1 || cols > kMaxGridCols || rows < 1 || rows > kMaxGridRows ||
            qint64(cols) * rows > kMaxGridCells || fixedCols < 0 || fixedCols >= cols || fixedRows < 0 ||
            fixedRows >= rows || values[4] < 0 || values[5] < 1 || (values[6] & ~0x7F) != 0)
            ThrowInvalidImage();
        grid->setFixedCols(0);
        grid->setFixedRows(0);
        grid->setColCount(cols);
        grid->setRowCount(rows);
        grid->setFixedCols(fixedCols);
        grid->setFixedRows(fixedRows);
        grid->setDefaultColWidth(values[4]);
        grid->setDefaultRowHeight(values[5]);
        grid->setOptions(TjvStringGrid::TGridOptions::fromInt(values[6]));
        return;
    }
    if (extra.name == QLatin1String("@ColWidths")) {
        if (values.size() != grid->ColCount())
            ThrowInvalidImage();
        for (int col = 0; col < values.size(); ++col) {
            if (values[col] < 0)
                ThrowInvalidImage();
            grid->setColWidths(col, values[col]);
        }
        return;
    }
    ThrowInvalidImage();
}

std::vector<TComponentClass> buildTable()
{
    std::vector<TComponentClass> table;
    table.push_back({QStringLiteral("QWidget"), maker<QWidget>(), true, {}, {}, {}, {}});
    table.push_back({QStringLiteral("QFrame"), maker<QFrame>(), true, {}, {}, {}, {}});
    table.push_back({QStringLiteral("QGroupBox"), maker<QGroupBox>(), true, {}, {}, {}, {}});
    table.push_back({QStringLiteral("QLabel"), maker<QLabel>(), false, {}, {}, {}, {}});
    table.push_back({QStringLiteral("QLineEdit"), maker<QLineEdit>(), false, {}, {}, {}, {}});
    table.push_back({QStringLiteral("QPlainTextEdit"), maker<QPlainTextEdit>(), false, {}, {}, {}, {}});
    // The text goes once, as HTML; its other forms would each replace the document again.
    table.push_back({QStringLiteral("QTextEdit"),
                     maker<QTextEdit>(),
                     false,
                     {QStringLiteral("markdown"), QStringLiteral("plainText"), QStringLiteral("document")},
                     {},
                     {},
                     {}});
    table.push_back({QStringLiteral("QSplitter"),
                     maker<QSplitter>(),
                     true,
                     {},
                     splitterChildren,
                     splitterExtras,
                     splitterLoad});
    // Cells are the month file's business, not the control's.
    table.push_back(
        {QStringLiteral("TjvStringGrid"), maker<TjvStringGrid>(), false, {}, {}, gridExtras, gridLoad});
    return table;
}

} // namespace

const std::vector<TComponentClass>& ComponentClassTable()
{
    static const std::vector<TComponentClass> table = buildTable();
    return table;
}

const TComponentClass* FindComponentClass(QStringView name)
{
    for (const TComponentClass& cls : ComponentClassTable()) {
        if (cls.name == name)
            return &cls;
    }
    return nullptr;
}

QList<QWidget*> StoredChildren(const TComponentClass& cls, QWidget* widget)
{
    if (!cls.container)
        return {};
    if (cls.children)
        return cls.children(widget);
    QList<QWidget*> list;
    for (QObject* child : widget->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        // Windows (menus, dialogs) live on their own; "qt_" names mark Qt's own helpers.
        if (w && !w->isWindow() && !w->objectName().startsWith(QLatin1String("qt_")))
            list.append(w);
    }
    return list;
}
