#pragma once

#include "settings/ComponentImages.h"

#include <QStringList>

class ImageReader;
class QIODevice;
class QWidget;

// A component image is "TPF0", one component record and a list-end byte 0. A record is the class
// name and the object name (each a 32-bit length and UTF-8), the stored properties (a kind byte,
// the property name, the typed value) up to a byte 0, then each child control as a byte 1 and
// its record, up to a byte 0. Child controls of a layout appear in the layout by their index.
namespace HStreamUtils {

// Throws EFilerError for a control of a class outside the table or a layout images cannot hold.
void WriteComponentImage(QWidget* component, QIODevice& stream);
// Reads one component at the stream's position and puts it where the control was (same place in
// the parent's layout or splitter, same geometry), destroying the control. Any failure leaves
// the control as it was, names included, and gives null.
QWidget* ReadComponentImage(QIODevice& stream, QWidget* control);

// The names of the control and its child controls in pre-order, each blanked.
void ClearNames(QWidget* control, QStringList& names);
// Gives the names back in the same order, starting at counter and advancing it.
void RestoreNames(QWidget* control, const QStringList& names, int& counter);

} // namespace HStreamUtils

// Told after each component the reader has read. An image without a list-end byte of its own
// ends right after the record; the record's last end marker then serves as the list end.
class TComponentReciever final {
public:
    TComponentReciever(ImageReader& reader, QIODevice& stream) : m_reader(reader), m_stream(stream) {}
    void ComponentRead();

private:
    ImageReader& m_reader;
    QIODevice& m_stream;
};

// The widget side of the settings manager's component slots.
class TWidgetComponentImages final : public TComponentImages {
public:
    static const TWidgetComponentImages& Instance();
    bool IsForm(const QWidget* component) const override;
    void WriteComponentImage(QWidget* component, QIODevice& stream) const override;
    QWidget* ReadComponentImage(QIODevice& stream, QWidget* control) const override;
};
