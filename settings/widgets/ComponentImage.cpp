#include "settings/widgets/ComponentImage.h"

#include "settings/widgets/ComponentClasses.h"
#include "settings/widgets/ComponentValues.h"
#include "settings/widgets/ImageStream.h"

#include <QApplication>
#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QIODevice>
#include <QMainWindow>
#include <QPointer>
#include <QSpacerItem>
#include <QSplitter>
#include <QStatusBar>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

namespace {

const QByteArray kSignature = QByteArrayLiteral("TPF0");
const QString kHidden = QStringLiteral("@Hidden");
const QString kLayout = QStringLiteral("@Layout");

constexpr quint8 kEnd = 0;
constexpr quint8 kChild = 1;
// Nesting and size limits that no real window reaches; they keep hostile images from exhausting
// the stack or the window system.
constexpr int kMaxDepth = 64;
constexpr int kMaxComponents = 4096;
constexpr int kMaxLayoutDepth = 16;

enum class LayoutItemType : quint8 { Widget = 1, Spacer = 2, Layout = 3 };

[[noreturn]] void cannotStore(const QString& what)
{
    throw EFilerError(formatMessage(QStringLiteral("%s は保存できません"), what));
}

// Stored properties images never carry: visibility and the updates switch follow the parent,
// window properties mean nothing for a control, the frame rectangle follows the geometry.
bool alwaysSkipped(QLatin1StringView name)
{
    return name == QLatin1String("objectName") || name == QLatin1String("visible") ||
           name == QLatin1String("updatesEnabled") || name == QLatin1String("frameRect") ||
           name.startsWith(QLatin1String("window"));
}

bool isStoredProperty(const TComponentClass& cls, const QMetaProperty& p)
{
    const QLatin1StringView name(p.name());
    return p.isReadable() && p.isWritable() && p.isStored() && !alwaysSkipped(name) &&
           !cls.skipped.contains(QString(name)) && KindOf(p).has_value();
}

bool explicitlyHidden(const QWidget* w)
{
    return w->testAttribute(Qt::WA_WState_ExplicitShowHide) && w->testAttribute(Qt::WA_WState_Hidden);
}

// ---- writing

void writeLayout(ImageWriter& out, QLayout* layout, const QList<QWidget*>& children, int depth)
{
    auto* box = qobject_cast<QBoxLayout*>(layout);
    if (!box || depth > kMaxLayoutDepth)
        cannotStore(QString::fromLatin1(layout->metaObject()->className()));
    out.WriteInt(int(box->direction()));
    out.WriteInt(box->spacing());
    const QMargins margins = box->contentsMargins();
    out.WriteInt(margins.left());
    out.WriteInt(margins.top());
    out.WriteInt(margins.right());
    out.WriteInt(margins.bottom());
    out.WriteUInt(quint32(box->count()));
    for (int i = 0; i < box->count(); ++i) {
        QLayoutItem* item = box->itemAt(i);
        if (QWidget* w = item->widget()) {
            const qsizetype index = children.indexOf(w);
            if (index < 0)
                cannotStore(QString::fromLatin1(w->metaObject()->className()));
            out.WriteByte(quint8(LayoutItemType::Widget));
            out.WriteInt(int(index));
            out.WriteInt(box->stretch(i));
            out.WriteInt(int(item->alignment()));
        } else if (QSpacerItem* spacer = item->spacerItem()) {
            out.WriteByte(quint8(LayoutItemType::Spacer));
            out.WriteInt(spacer->sizeHint().width());
            out.WriteInt(spacer->sizeHint().height());
            out.WriteByte(quint8(spacer->sizePolicy().horizontalPolicy()));
            out.WriteByte(quint8(spacer->sizePolicy().verticalPolicy()));
            out.WriteInt(box->stretch(i));
        } else if (QLayout* nested = item->layout()) {
            out.WriteByte(quint8(LayoutItemType::Layout));
            out.WriteInt(box->stretch(i));
            writeLayout(out, nested, children, depth + 1);
        } else {
            cannotStore(QString::fromLatin1(layout->metaObject()->className()));
        }
    }
}

void writeProperties(ImageWriter& out, QWidget* w, const TComponentClass& cls)
{
    const QMetaObject* meta = w->metaObject();
    // The content goes first: setting it resets state such as an editor's undo switch.
    QList<QMetaProperty> properties;
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty p = meta->property(i);
        if (isStoredProperty(cls, p))
            properties.insert(p.isUser() ? 0 : properties.size(), p);
    }
    for (const QMetaProperty& p : properties) {
        const QLatin1StringView name(p.name());
        // A font or direction that is only inherited stays inherited.
        if ((name == QLatin1String("font") && !w->testAttribute(Qt::WA_SetFont)) ||
            (name == QLatin1String("layoutDirection") && !w->testAttribute(Qt::WA_SetLayoutDirection)))
            continue;
        const ValueKind kind = *KindOf(p);
        QVariant value = p.read(w);
        // isEnabled() is false inside a disabled parent; only the control's own switch is stored.
        if (name == QLatin1String("enabled"))
            value = !w->testAttribute(Qt::WA_ForceDisabled);
        // Setting a block limit, even none, switches the editor's undo off.
        if (name == QLatin1String("maximumBlockCount") && value.toInt() <= 0)
            continue;
        if (kind == ValueKind::Reference) {
            const QObject* target = value.value<QObject*>();
            if (!target || target->objectName().isEmpty())
                continue;
            value = target->objectName();
        }
        out.WriteByte(quint8(kind));
        out.WriteString(QString(name));
        WriteValue(out, kind, value);
    }
}

void writeRecord(ImageWriter& out, QWidget* w, int depth)
{
    const QString className = QString::fromLatin1(w->metaObject()->className());
    const TComponentClass* cls = FindComponentClass(className);
    if (!cls || depth > kMaxDepth)
        cannotStore(className);
    out.WriteString(className);
    out.WriteString(w->objectName());
    writeProperties(out, w, *cls);
    if (cls->saveExtras) {
        for (const TExtraValue& extra : cls->saveExtras(w)) {
            out.WriteByte(quint8(extra.kind));
            out.WriteString(extra.name);
            WriteValue(out, extra.kind, extra.value);
        }
    }
    if (explicitlyHidden(w)) {
        out.WriteByte(quint8(ValueKind::Bool));
        out.WriteString(kHidden);
        out.WriteByte(1);
    }
    const QList<QWidget*> children = StoredChildren(*cls, w);
    if (cls->container && w->layout()) {
        out.WriteByte(quint8(ValueKind::Layout));
        out.WriteString(kLayout);
        writeLayout(out, w->layout(), children, 0);
    }
    out.WriteByte(kEnd);
    for (QWidget* child : children) {
        out.WriteByte(kChild);
        writeRecord(out, child, depth + 1);
    }
    out.WriteByte(kEnd);
}

// ---- reading

struct LayoutSpec;
struct LayoutItemSpec {
    LayoutItemType type = LayoutItemType::Widget;
    int child = 0;
    int stretch = 0;
    int alignment = 0;
    QSize size;
    QSizePolicy::Policy horizontal = QSizePolicy::Minimum;
    QSizePolicy::Policy vertical = QSizePolicy::Minimum;
    std::unique_ptr<LayoutSpec> nested;
};

struct LayoutSpec {
    QBoxLayout::Direction direction = QBoxLayout::TopToBottom;
    int spacing = -1;
    QMargins margins;
    std::vector<LayoutItemSpec> items;
};

struct Fixup {
    QPointer<QObject> object;
    QMetaProperty property;
    QString name;
};

struct ReadState {
    ImageReader& in;
    std::vector<Fixup> fixups;
    int components = 0;
};

qint32 readBoundedInt(ImageReader& in, qint32 low, qint32 high)
{
    const qint32 value = in.ReadInt();
    if (value < low || value > high)
        ThrowInvalidImage();
    return value;
}

QSizePolicy::Policy readPolicy(ImageReader& in)
{
    const int value = in.ReadByte();
    switch (value) {
    case QSizePolicy::Fixed:
    case QSizePolicy::Minimum:
    case QSizePolicy::Maximum:
    case QSizePolicy::Preferred:
    case QSizePolicy::MinimumExpanding:
    case QSizePolicy::Expanding:
    case QSizePolicy::Ignored:
        return static_cast<QSizePolicy::Policy>(value);
    default:
        ThrowInvalidImage();
    }
}

std::unique_ptr<LayoutSpec> readLayout(ImageReader& in, int depth)
{
    if (depth > kMaxLayoutDepth)
        ThrowInvalidImage();
    constexpr qint32 kMax = QWIDGETSIZE_MAX;
    auto plan = std::make_unique<LayoutSpec>();
    plan->direction = static_cast<QBoxLayout::Direction>(readBoundedInt(in, 0, 3));
    plan->spacing = readBoundedInt(in, -1, kMax);
    const qint32 left = readBoundedInt(in, 0, kMax);
    const qint32 top = readBoundedInt(in, 0, kMax);
    const qint32 right = readBoundedInt(in, 0, kMax);
    plan->margins = QMargins(left, top, right, readBoundedInt(in, 0, kMax));
    const int count = in.ReadCount(5);
    plan->items.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        LayoutItemSpec item;
        item.type = static_cast<LayoutItemType>(in.ReadByte());
        switch (item.type) {
        case LayoutItemType::Widget:
            item.child = readBoundedInt(in, 0, kMaxComponents);
            item.stretch = readBoundedInt(in, 0, kMax);
            item.alignment = in.ReadInt();
            if ((item.alignment & ~int(Qt::AlignHorizontal_Mask | Qt::AlignVertical_Mask)) != 0)
                ThrowInvalidImage();
            break;
        case LayoutItemType::Spacer: {
            const qint32 w = readBoundedInt(in, 0, kMax);
            item.size = QSize(w, readBoundedInt(in, 0, kMax));
            item.horizontal = readPolicy(in);
            item.vertical = readPolicy(in);
            item.stretch = readBoundedInt(in, 0, kMax);
            break;
        }
        case LayoutItemType::Layout:
            item.stretch = readBoundedInt(in, 0, kMax);
            item.nested = readLayout(in, depth + 1);
            break;
        default:
            ThrowInvalidImage();
        }
        plan->items.push_back(std::move(item));
    }
    return plan;
}

QBoxLayout* makeLayout(const LayoutSpec& plan, const QList<QWidget*>& children, std::vector<bool>& used)
{
    QBoxLayout* layout = nullptr;
    if (plan.direction == QBoxLayout::TopToBottom)
        layout = new QVBoxLayout;
    else if (plan.direction == QBoxLayout::LeftToRight)
        layout = new QHBoxLayout;
    else
        layout = new QBoxLayout(plan.direction);
    std::unique_ptr<QBoxLayout> owned(layout);
    layout->setSpacing(plan.spacing);
    layout->setContentsMargins(plan.margins);
    for (const LayoutItemSpec& item : plan.items) {
        switch (item.type) {
        case LayoutItemType::Widget:
            // Each child once: a widget in two places of a layout is damage.
            if (item.child >= children.size() || used[size_t(item.child)])
                ThrowInvalidImage();
            used[size_t(item.child)] = true;
            layout->addWidget(children[item.child], item.stretch, Qt::Alignment::fromInt(item.alignment));
            break;
        case LayoutItemType::Spacer:
            layout->addSpacerItem(
                new QSpacerItem(item.size.width(), item.size.height(), item.horizontal, item.vertical));
            layout->setStretch(layout->count() - 1, item.stretch);
            break;
        case LayoutItemType::Layout:
            layout->addLayout(makeLayout(*item.nested, children, used), item.stretch);
            break;
        }
    }
    return owned.release();
}

void applyLayout(QWidget* w, const LayoutSpec& plan, const QList<QWidget*>& children)
{
    std::vector<bool> used(size_t(children.size()), false);
    QBoxLayout* layout = makeLayout(plan, children, used);
    w->setLayout(layout);
}

// Creates the component of one record with the parent given (none for the root). The root is
// owned by the caller; children belong to their parent.
QWidget* readRecord(ReadState& state, QWidget* parent, int depth)
{
    ImageReader& in = state.in;
    if (depth > kMaxDepth || ++state.components > kMaxComponents)
        ThrowInvalidImage();
    const QString className = in.ReadString();
    const TComponentClass* cls = FindComponentClass(className);
    if (!cls)
        throw EFilerError(formatMessage(QStringLiteral("クラス %s が見つかりません"), className));
    const QString name = in.ReadString();
    QWidget* w = cls->create(parent);
    std::unique_ptr<QWidget> guard(parent ? nullptr : w);
    w->setObjectName(name);

    std::vector<TExtraValue> extras;
    std::unique_ptr<LayoutSpec> layout;
    bool hidden = false;
    const QMetaObject* meta = w->metaObject();
    for (quint8 kind = in.ReadByte(); kind != kEnd; kind = in.ReadByte()) {
        const QString propName = in.ReadString();
        if (kind == quint8(ValueKind::Layout)) {
            if (propName != kLayout || layout || !cls->container)
                ThrowInvalidImage();
            layout = readLayout(in, 0);
            continue;
        }
        if (!IsValueKind(kind))
            ThrowInvalidImage();
        const auto valueKind = static_cast<ValueKind>(kind);
        QVariant value = ReadValue(in, valueKind);
        if (propName == kHidden) {
            if (valueKind != ValueKind::Bool)
                ThrowInvalidImage();
            hidden = value.toBool();
        } else if (propName.startsWith(u'@')) {
            if (!cls->loadExtra)
                ThrowInvalidImage();
            extras.push_back({propName, valueKind, std::move(value)});
        } else {
            const int index = meta->indexOfProperty(propName.toLatin1().constData());
            // A property this Qt no longer has is passed over; one we never store is damage.
            if (index < 0)
                continue;
            const QMetaProperty p = meta->property(index);
            if (!isStoredProperty(*cls, p))
                ThrowInvalidImage();
            if (valueKind == ValueKind::Reference) {
                if (KindOf(p) != ValueKind::Reference)
                    ThrowInvalidImage();
                state.fixups.push_back({w, p, value.toString()});
            } else {
                ApplyValue(w, p, valueKind, value);
            }
        }
    }

    QList<QWidget*> children;
    for (quint8 marker = in.ReadByte(); marker != kEnd; marker = in.ReadByte()) {
        if (marker != kChild || !cls->container)
            ThrowInvalidImage();
        children.append(readRecord(state, w, depth + 1));
    }
    for (const TExtraValue& extra : extras)
        cls->loadExtra(w, extra);
    if (layout)
        applyLayout(w, *layout, children);
    if (hidden)
        w->hide();
    guard.release();
    return w;
}

QObject* findNamed(QObject* tree, const QString& name)
{
    if (!tree)
        return nullptr;
    if (tree->objectName() == name)
        return tree;
    return tree->findChild<QObject*>(name);
}

// References name components of the new tree first, then those of the owner.
void resolveReferences(ReadState& state, QWidget* root, QWidget* owner)
{
    for (const Fixup& fixup : state.fixups) {
        if (!fixup.object || fixup.name.isEmpty())
            continue;
        QObject* target = findNamed(root, fixup.name);
        if (!target)
            target = findNamed(owner, fixup.name);
        const QMetaObject* wanted = fixup.property.metaType().metaObject();
        if (!target || !wanted || !target->metaObject()->inherits(wanted))
            continue;
        fixup.property.write(fixup.object, QVariant(fixup.property.metaType(), &target));
    }
}

enum class Placement { Splitter, Central, Layout, Free };

bool layoutHolds(QLayout* layout, QWidget* control)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item->widget() == control || (item->layout() && layoutHolds(item->layout(), control)))
            return true;
    }
    return false;
}

// Where the control sits, or none when its parent keeps its own list of children (tool bars,
// status bars, tab pages, scroll areas): a replacement there would fall out of that list, so the
// control is better left alone.
std::optional<Placement> placementOf(QWidget* control)
{
    QWidget* parent = control->parentWidget();
    if (!parent || qobject_cast<QStatusBar*>(parent) ||
        parent->objectName() == QLatin1String("qt_scrollarea_viewport"))
        return std::nullopt;
    if (qobject_cast<QSplitter*>(parent))
        return Placement::Splitter;
    if (auto* window = qobject_cast<QMainWindow*>(parent))
        return window->centralWidget() == control ? std::optional(Placement::Central) : std::nullopt;
    QLayout* layout = parent->layout();
    if (!layout)
        return Placement::Free;
    const bool plain = qobject_cast<QBoxLayout*>(layout) || qobject_cast<QGridLayout*>(layout) ||
                       qobject_cast<QFormLayout*>(layout);
    return plain && layoutHolds(layout, control) ? std::optional(Placement::Layout) : std::nullopt;
}

// The replacement takes the control's place: in its splitter or layout, as the central widget,
// or at the control's geometry and stacking position.
void takePlace(QWidget* replacement, QWidget* control, Placement placement, bool hidden)
{
    QWidget* parent = control->parentWidget();
    const bool hadFocus = control->isAncestorOf(QApplication::focusWidget()) || control->hasFocus();
    replacement->setGeometry(control->geometry());
    switch (placement) {
    case Placement::Splitter: {
        auto* splitter = static_cast<QSplitter*>(parent);
        splitter->replaceWidget(splitter->indexOf(control), replacement);
        break;
    }
    case Placement::Central:
        // The window lets go of the old central widget later; it is destroyed before that.
        static_cast<QMainWindow*>(parent)->setCentralWidget(replacement);
        break;
    case Placement::Layout:
        replacement->setParent(parent);
        replacement->setGeometry(control->geometry());
        delete parent->layout()->replaceWidget(control, replacement);
        break;
    case Placement::Free:
        replacement->setParent(parent);
        replacement->setGeometry(control->geometry());
        replacement->stackUnder(control);
        break;
    }
    if (replacement->window() == control->window())
        QWidget::setTabOrder(control, replacement);
    if (!hidden)
        replacement->show();
    if (hadFocus)
        replacement->setFocus();
}

void clearNames(QWidget* w, QStringList& names)
{
    names.append(w->objectName());
    w->setObjectName(QString());
    for (QObject* child : w->children()) {
        if (auto* c = qobject_cast<QWidget*>(child))
            clearNames(c, names);
    }
}

void restoreNames(QWidget* w, const QStringList& names, int& counter)
{
    if (counter >= names.size())
        return;
    w->setObjectName(names.at(counter++));
    for (QObject* child : w->children()) {
        if (auto* c = qobject_cast<QWidget*>(child))
            restoreNames(c, names, counter);
    }
}

} // namespace

void TComponentReciever::ComponentRead()
{
    if (m_reader.Position() == m_stream.size())
        m_reader.StepBack();
}

namespace HStreamUtils {

void WriteComponentImage(QWidget* component, QIODevice& stream)
{
    ImageWriter out;
    out.WriteBytes(kSignature);
    writeRecord(out, component, 0);
    out.WriteByte(kEnd);
    out.FlushTo(stream);
}

QWidget* ReadComponentImage(QIODevice& stream, QWidget* control)
{
    QStringList names;
    ClearNames(control, names);
    try {
        ImageReader in(stream);
        TComponentReciever reciever(in, stream);
        ReadState state{in, {}, 0};
        const std::optional<Placement> placement = placementOf(control);
        if (!placement)
            ThrowInvalidImage();
        if (in.ReadBytes(kSignature.size()) != kSignature)
            ThrowInvalidImage();
        std::unique_ptr<QWidget> root(readRecord(state, nullptr, 0));
        reciever.ComponentRead();
        // Only one component can take the control's place: the list ends after it.
        if (in.ReadByte() != kEnd)
            ThrowInvalidImage();
        resolveReferences(state, root.get(), control->parentWidget());
        const bool hidden = explicitlyHidden(root.get());
        takePlace(root.get(), control, *placement, hidden);
        delete control;
        return root.release();
    } catch (const std::exception&) {
        int counter = 0;
        RestoreNames(control, names, counter);
        return nullptr;
    }
}

void ClearNames(QWidget* control, QStringList& names)
{
    clearNames(control, names);
}

void RestoreNames(QWidget* control, const QStringList& names, int& counter)
{
    restoreNames(control, names, counter);
}

} // namespace HStreamUtils

const TWidgetComponentImages& TWidgetComponentImages::Instance()
{
    static const TWidgetComponentImages images;
    return images;
}

bool TWidgetComponentImages::IsForm(const QWidget* component) const
{
    return component->isWindow();
}

void TWidgetComponentImages::WriteComponentImage(QWidget* component, QIODevice& stream) const
{
    HStreamUtils::WriteComponentImage(component, stream);
}

QWidget* TWidgetComponentImages::ReadComponentImage(QIODevice& stream, QWidget* control) const
{
    // A window has no place to be taken.
    if (control->isWindow())
        return nullptr;
    return HStreamUtils::ReadComponentImage(stream, control);
}
