#include "settings/widgets/ComponentImageWriter.h"

#include "settings/ComponentImages.h"
#include "settings/widgets/ComponentClasses.h"
#include "settings/widgets/ComponentImageFormat.h"
#include "settings/widgets/ComponentValues.h"
#include "settings/widgets/ImageStream.h"

#include <QBoxLayout>
#include <QSpacerItem>
#include <QWidget>

namespace ComponentImageWriter {

using namespace ComponentImageFormat;

namespace {

[[noreturn]] void cannotStore(const QString& what)
{
    throw EFilerError(formatMessage(QStringLiteral("%s は保存できません"), what));
}

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

} // namespace

void write(QWidget* component, ImageWriter& out)
{
    out.WriteBytes(kSignature);
    writeRecord(out, component, 0);
    out.WriteByte(kEnd);
}

} // namespace ComponentImageWriter
