#pragma once

#include <QMetaProperty>
#include <QVariant>

#include <optional>

class ImageReader;
class ImageWriter;

// How a property value is written in an image: one byte naming the kind, then its payload.
enum class ValueKind : quint8 {
    Bool = 1,
    Int = 2,
    Double = 3,
    String = 4,
    Size = 5,
    Point = 6,
    Rect = 7,
    Margins = 8,
    Font = 9,
    Color = 10,
    SizePolicy = 11,
    Enum = 12,
    Reference = 13, // the name of another component, resolved when the whole image is read
    IntList = 14,
    StringList = 15,
    Layout = 16, // a box layout, see ComponentImageWriter.cpp
};

// The kind a property is stored as; none for types images do not hold (pixmaps, palettes, icons).
std::optional<ValueKind> KindOf(const QMetaProperty& property);

void WriteValue(ImageWriter& out, ValueKind kind, const QVariant& value);
// Reads a payload of a kind other than Layout. Values outside what a widget can sensibly take
// (sizes beyond QWIDGETSIZE_MAX, non-finite numbers, absurd fonts) throw EFilerError.
QVariant ReadValue(ImageReader& in, ValueKind kind);
// True for the kinds ReadValue knows.
bool IsValueKind(quint8 kind);

// Writes a value read by ReadValue into the property; an enumeration value that names no key
// throws EFilerError.
void ApplyValue(QObject* object, const QMetaProperty& property, ValueKind kind, const QVariant& value);
