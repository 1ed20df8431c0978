#include "settings/widgets/ComponentValues.h"

#include "settings/ComponentImages.h"
#include "settings/widgets/ImageStream.h"

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QMetaEnum>
#include <QRect>
#include <QSizePolicy>
#include <QWidget>

#include <cmath>

namespace {

// Coordinates and counts a widget can take; anything beyond is damage.
constexpr qint32 kMaxMagnitude = QWIDGETSIZE_MAX;
constexpr double kMaxFontSize = 1000;

qint32 readBounded(ImageReader& in)
{
    const qint32 value = in.ReadInt();
    if (value > kMaxMagnitude || value < -kMaxMagnitude)
        ThrowInvalidImage();
    return value;
}

bool validKey(const QMetaEnum& meta, int value)
{
    if (!meta.isValid())
        return false;
    if (!meta.isFlag())
        return meta.valueToKey(value) != nullptr;
    if (value == 0)
        return true;
    // Every bit set must belong to some key.
    int known = 0;
    for (int i = 0; i < meta.keyCount(); ++i)
        known |= meta.value(i);
    return (value & ~known) == 0;
}

QSizePolicy::Policy readPolicy(ImageReader& in)
{
    const int value = in.ReadByte();
    if (!validKey(QMetaEnum::fromType<QSizePolicy::Policy>(), value))
        ThrowInvalidImage();
    return static_cast<QSizePolicy::Policy>(value);
}

} // namespace

std::optional<ValueKind> KindOf(const QMetaProperty& property)
{
    if (property.isEnumType())
        return ValueKind::Enum;
    const QMetaType type = property.metaType();
    if (type.flags() & QMetaType::PointerToQObject)
        return ValueKind::Reference;
    switch (type.id()) {
    case QMetaType::Bool:
        return ValueKind::Bool;
    case QMetaType::Int:
        return ValueKind::Int;
    case QMetaType::Double:
    case QMetaType::Float:
        return ValueKind::Double;
    case QMetaType::QString:
        return ValueKind::String;
    case QMetaType::QSize:
        return ValueKind::Size;
    case QMetaType::QPoint:
        return ValueKind::Point;
    case QMetaType::QRect:
        return ValueKind::Rect;
    case QMetaType::QFont:
        return ValueKind::Font;
    case QMetaType::QColor:
        return ValueKind::Color;
    case QMetaType::QSizePolicy:
        return ValueKind::SizePolicy;
    case QMetaType::QStringList:
        return ValueKind::StringList;
    default:
        break;
    }
    if (type == QMetaType::fromType<QMargins>())
        return ValueKind::Margins;
    return std::nullopt;
}

bool IsValueKind(quint8 kind)
{
    return kind >= quint8(ValueKind::Bool) && kind <= quint8(ValueKind::StringList);
}

void WriteValue(ImageWriter& out, ValueKind kind, const QVariant& value)
{
    switch (kind) {
    case ValueKind::Bool:
        out.WriteByte(value.toBool() ? 1 : 0);
        return;
    case ValueKind::Int:
    case ValueKind::Enum:
        out.WriteInt(value.toInt());
        return;
    case ValueKind::Double:
        out.WriteDouble(value.toDouble());
        return;
    case ValueKind::String:
    case ValueKind::Reference:
        out.WriteString(value.toString());
        return;
    case ValueKind::Size: {
        const QSize size = value.toSize();
        out.WriteInt(size.width());
        out.WriteInt(size.height());
        return;
    }
    case ValueKind::Point: {
        const QPoint point = value.toPoint();
        out.WriteInt(point.x());
        out.WriteInt(point.y());
        return;
    }
    case ValueKind::Rect: {
        const QRect rect = value.toRect();
        out.WriteInt(rect.x());
        out.WriteInt(rect.y());
        out.WriteInt(rect.width());
        out.WriteInt(rect.height());
        return;
    }
    case ValueKind::Margins: {
        const auto margins = value.value<QMargins>();
        out.WriteInt(margins.left());
        out.WriteInt(margins.top());
        out.WriteInt(margins.right());
        out.WriteInt(margins.bottom());
        return;
    }
    case ValueKind::Font:
        out.WriteString(value.value<QFont>().toString());
        return;
    case ValueKind::Color: {
        const auto color = value.value<QColor>();
        out.WriteByte(color.isValid() ? 1 : 0);
        out.WriteUInt(color.rgba());
        return;
    }
    case ValueKind::SizePolicy: {
        const auto policy = value.value<QSizePolicy>();
        out.WriteByte(quint8(policy.horizontalPolicy()));
        out.WriteByte(quint8(policy.verticalPolicy()));
        out.WriteByte(quint8(policy.horizontalStretch()));
        out.WriteByte(quint8(policy.verticalStretch()));
        out.WriteInt(int(policy.controlType()));
        out.WriteByte(quint8((policy.hasHeightForWidth() ? 1 : 0) | (policy.hasWidthForHeight() ? 2 : 0) |
                             (policy.retainSizeWhenHidden() ? 4 : 0)));
        return;
    }
    case ValueKind::IntList: {
        const QList<int> list = value.value<QList<int>>();
        out.WriteUInt(quint32(list.size()));
        for (const int v : list)
            out.WriteInt(v);
        return;
    }
    case ValueKind::StringList: {
        const QStringList list = value.toStringList();
        out.WriteUInt(quint32(list.size()));
        for (const QString& s : list)
            out.WriteString(s);
        return;
    }
    case ValueKind::Layout:
        break;
    }
    ThrowInvalidImage();
}

QVariant ReadValue(ImageReader& in, ValueKind kind)
{
    switch (kind) {
    case ValueKind::Bool: {
        const quint8 b = in.ReadByte();
        if (b > 1)
            ThrowInvalidImage();
        return QVariant(b == 1);
    }
    case ValueKind::Int:
        return QVariant(readBounded(in));
    case ValueKind::Enum:
        return QVariant(in.ReadInt());
    case ValueKind::Double: {
        const double d = in.ReadDouble();
        if (!std::isfinite(d) || std::fabs(d) > kMaxMagnitude)
            ThrowInvalidImage();
        return QVariant(d);
    }
    case ValueKind::String:
    case ValueKind::Reference:
        return QVariant(in.ReadString());
    case ValueKind::Size: {
        const qint32 w = readBounded(in);
        return QVariant(QSize(w, readBounded(in)));
    }
    case ValueKind::Point: {
        const qint32 x = readBounded(in);
        return QVariant(QPoint(x, readBounded(in)));
    }
    case ValueKind::Rect: {
        const qint32 x = readBounded(in);
        const qint32 y = readBounded(in);
        const qint32 w = readBounded(in);
        return QVariant(QRect(x, y, w, readBounded(in)));
    }
    case ValueKind::Margins: {
        const qint32 l = readBounded(in);
        const qint32 t = readBounded(in);
        const qint32 r = readBounded(in);
        return QVariant::fromValue(QMargins(l, t, r, readBounded(in)));
    }
    case ValueKind::Font: {
        QFont font;
        if (!font.fromString(in.ReadString()) || font.pointSizeF() > kMaxFontSize ||
            font.pixelSize() > kMaxFontSize)
            ThrowInvalidImage();
        return QVariant(font);
    }
    case ValueKind::Color: {
        const quint8 valid = in.ReadByte();
        const quint32 rgba = in.ReadUInt();
        if (valid > 1)
            ThrowInvalidImage();
        return QVariant(valid ? QColor::fromRgba(rgba) : QColor());
    }
    case ValueKind::SizePolicy: {
        const QSizePolicy::Policy h = readPolicy(in);
        const QSizePolicy::Policy v = readPolicy(in);
        const quint8 hStretch = in.ReadByte();
        const quint8 vStretch = in.ReadByte();
        const qint32 type = in.ReadInt();
        const quint8 bits = in.ReadByte();
        // One control type bit, DefaultType up to ToolButton.
        if (type <= 0 || type > QSizePolicy::ToolButton || (type & (type - 1)) != 0 || bits > 7)
            ThrowInvalidImage();
        QSizePolicy policy(h, v, static_cast<QSizePolicy::ControlType>(type));
        policy.setHorizontalStretch(hStretch);
        policy.setVerticalStretch(vStretch);
        policy.setHeightForWidth(bits & 1);
        policy.setWidthForHeight(bits & 2);
        policy.setRetainSizeWhenHidden(bits & 4);
        return QVariant(policy);
    }
    case ValueKind::IntList: {
        const int count = in.ReadCount(4);
        QList<int> list;
        list.reserve(count);
        for (int i = 0; i < count; ++i)
            list.append(readBounded(in));
        return QVariant::fromValue(list);
    }
    case ValueKind::StringList: {
        const int count = in.ReadCount(4);
        QStringList list;
        list.reserve(count);
        for (int i = 0; i < count; ++i)
            list.append(in.ReadString());
        return QVariant(list);
    }
    case ValueKind::Layout:
        break;
    }
    ThrowInvalidImage();
}

void ApplyValue(QObject* object, const QMetaProperty& property, ValueKind kind, const QVariant& value)
{
    if (KindOf(property) != kind)
        ThrowInvalidImage();
    if (kind == ValueKind::Enum && !validKey(property.enumerator(), value.toInt()))
        ThrowInvalidImage();
    QVariant typed = value;
    if (kind != ValueKind::Enum && !typed.convert(property.metaType()))
        ThrowInvalidImage();
    if (!property.write(object, typed))
        ThrowInvalidImage();
}
