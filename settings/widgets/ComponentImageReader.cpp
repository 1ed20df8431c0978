#include "settings/widgets/ComponentImageReader.h"

#include "settings/ComponentImages.h"
#include "settings/widgets/ComponentClasses.h"
#include "settings/widgets/ComponentValues.h"
#include "settings/widgets/ImageStream.h"

#include <QWidget>

namespace ComponentImageReader {

using namespace ComponentImageFormat;

namespace {

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

std::unique_ptr<ComponentFactory::LayoutSpec> readLayout(ImageReader& in, int depth)
{
    if (depth > kMaxLayoutDepth)
        ThrowInvalidImage();
    constexpr qint32 kMax = QWIDGETSIZE_MAX;
    auto plan = std::make_unique<ComponentFactory::LayoutSpec>();
    plan->direction = static_cast<QBoxLayout::Direction>(readBoundedInt(in, 0, 3));
    plan->spacing = readBoundedInt(in, -1, kMax);
    const qint32 left = readBoundedInt(in, 0, kMax);
    const qint32 top = readBoundedInt(in, 0, kMax);
    const qint32 right = readBoundedInt(in, 0, kMax);
    plan->margins = QMargins(left, top, right, readBoundedInt(in, 0, kMax));
    const int count = in.ReadCount(5);
    plan->items.reserve(size_t(count));
    for (int i = 0; i < count; ++i) {
        ComponentFactory::LayoutItemSpec item;
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

} // namespace

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
    std::unique_ptr<ComponentFactory::LayoutSpec> layout;
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
        ComponentFactory::applyLayout(w, *layout, children);
    if (hidden)
        w->hide();
    guard.release();
    return w;
}

} // namespace ComponentImageReader
